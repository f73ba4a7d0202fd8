#pragma once

namespace kelvary {

// Writes a Logic Pro project through the export script. NOTE: not built yet; the format is offered
// as "coming soon" and nothing dispatches to it, so the record only holds its place in
// TemplateExporter.
struct LogicLogicXExporter {
    bool operator==(const LogicLogicXExporter &) const = default;
};

} // namespace kelvary
