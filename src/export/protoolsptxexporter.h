#pragma once

namespace kelvary {

// Writes a Pro Tools session through the export script. NOTE: not built yet; the format is
// offered as "coming soon" and nothing dispatches to it, so the record only holds its place in
// TemplateExporter.
struct ProToolsPTXExporter {
    bool operator==(const ProToolsPTXExporter &) const = default;
};

} // namespace kelvary
