#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <initializer_list>
#include <optional>
#include <vector>

namespace kelvary {

// A JSON value, of which only the members asked for are kept.
struct JsonNode {
    enum class Kind { null, boolean, number, string, array, object };
    struct Member;

    Kind kind = Kind::null;
    bool boolean = false;
    double number = 0;
    QString string;
    std::vector<Member> members; // kept members of an object, in order

    // The member of that key (the last one when a key repeats), or a null node.
    const JsonNode &operator[](QStringView key) const;
    // The string, or an empty text for any other kind.
    QString text() const { return kind == Kind::string ? string : QString(); }
    bool isObject() const { return kind == Kind::object; }
};

struct JsonNode::Member {
    QString key;
    JsonNode value;
};

// Where reading stopped: the byte offset and what was wrong there, in the user's words.
struct JsonPickError {
    qsizetype offset = 0;
    QString reason;
};

// Reads the JSON document whole, checking all of it against the grammar (RFC 8259), but keeps
// only the values whose path of member names is a prefix of one of `paths` ("*" stands for any
// name): {"ae_data", "ch", "*", "name"} keeps every channel's name and the objects around it.
// Made for documents whose few wanted values sit among a great many settings, which are read
// past without building anything. Arrays are checked but their items never kept. At most 64
// paths.
struct JsonPick {
    std::optional<JsonNode> root;
    JsonPickError error;
};
JsonPick pickJson(const QByteArray &json, const QList<QList<QByteArray>> &paths);

} // namespace kelvary
