#include "import/jsonpick.h"

#include <QByteArrayView>

using namespace Qt::StringLiterals;

namespace kelvary {

const JsonNode &JsonNode::operator[](QStringView key) const
{
    static const JsonNode none;
    for (auto member = members.rbegin(); member != members.rend(); ++member) {
        if (member->key == key)
            return member->value;
    }
    return none;
}

namespace {

// Deeper documents are refused rather than followed, so that no input exhausts the stack.
constexpr int maximumDepth = 512;

// A lone surrogate from a \u escape is no text; it becomes U+FFFD.
void replaceLoneSurrogates(QString &text)
{
    if (text.isValidUtf16())
        return;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
}

class Picker {
public:
    Picker(const QByteArray &json, const QList<QList<QByteArray>> &paths)
        : m_begin(json.constData())
        , m_at(json.constData())
        , m_end(json.constData() + json.size())
        , m_paths(paths)
    {
    }

    JsonPick run()
    {
        JsonNode root;
        skipSpace();
        const quint64 allPaths =
            m_paths.size() >= 64 ? ~quint64(0) : (quint64(1) << m_paths.size()) - 1;
        if (m_at == m_end) {
            fail(u"文档为空"_s);
        } else if (value(&root, 0, allPaths)) {
            skipSpace();
            if (m_at != m_end)
                fail(u"文档结束后还有多余的内容"_s);
        }
        if (m_failed)
            return {std::nullopt, m_error};
        return {std::move(root), {}};
    }

private:
    bool fail(const QString &reason)
    {
        if (!m_failed) {
            m_failed = true;
            m_error = {qsizetype(m_at - m_begin) + 1, reason};
        }
        return false;
    }

    bool failAtEnd(const QString &reason) { return fail(m_at == m_end ? u"文档不完整"_s : reason); }

    void skipSpace()
    {
        while (m_at != m_end && (*m_at == ' ' || *m_at == '\n' || *m_at == '\r' || *m_at == '\t'))
            ++m_at;
    }

    // Of the paths in `active`, which one bit each, those that go on to a member `key` at
    // `level` members down. A member is kept when any does.
    quint64 memberPaths(quint64 active, qsizetype level, QByteArrayView key) const
    {
        quint64 result = 0;
        for (qsizetype i = 0; active; ++i, active >>= 1) {
            if (!(active & 1))
                continue;
            const QList<QByteArray> &path = m_paths[i];
            if (path.size() > level && (path[level] == "*" || path[level] == key))
                result |= quint64(1) << i;
        }
        return result;
    }

    // A value, kept in `node` unless that is null; `paths` are those that lead through it.
    bool value(JsonNode *node, int depth, quint64 paths = 0)
    {
        if (m_at == m_end)
            return failAtEnd({});
        switch (*m_at) {
        case '{':
            return object(node, depth + 1, paths);
        case '[':
            return array(node, depth + 1);
        case '"':
            if (node)
                node->kind = JsonNode::Kind::string;
            return string(node ? &node->string : nullptr, nullptr);
        case 't':
            return literal("true", node, JsonNode::Kind::boolean, true);
        case 'f':
            return literal("false", node, JsonNode::Kind::boolean, false);
        case 'n':
            return literal("null", node, JsonNode::Kind::null, false);
        default:
            if (*m_at == '-' || (*m_at >= '0' && *m_at <= '9'))
                return number(node);
            return fail(u"意外的字符"_s);
        }
    }

    bool literal(QByteArrayView word, JsonNode *node, JsonNode::Kind kind, bool truth)
    {
        if (!QByteArrayView(m_at, m_end - m_at).startsWith(word))
            return failAtEnd(u"意外的字符"_s);
        m_at += word.size();
        if (node) {
            node->kind = kind;
            node->boolean = truth;
        }
        return true;
    }

    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    static int hexDigit(char c)
    {
        if (isDigit(c))
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    bool digits()
    {
        if (m_at == m_end || !isDigit(*m_at))
            return failAtEnd(u"数字格式有误"_s);
        while (m_at != m_end && isDigit(*m_at))
            ++m_at;
        return true;
    }

    bool number(JsonNode *node)
    {
        const char *start = m_at;
        if (*m_at == '-')
            ++m_at;
        if (m_at != m_end && *m_at == '0')
            ++m_at;
        else if (!digits())
            return false;
        if (m_at != m_end && *m_at == '.') {
            ++m_at;
            if (!digits())
                return false;
        }
        if (m_at != m_end && (*m_at == 'e' || *m_at == 'E')) {
            ++m_at;
            if (m_at != m_end && (*m_at == '+' || *m_at == '-'))
                ++m_at;
            if (!digits())
                return false;
        }
        if (node) {
            node->kind = JsonNode::Kind::number;
            node->number = QByteArrayView(start, m_at - start).toDouble();
        }
        return true;
    }

    // A string, decoded into `text` when one is given; its raw bytes (between the quotes) in
    // `raw` when one is given and the string holds no escape.
    bool string(QString *text, QByteArrayView *raw)
    {
        ++m_at; // the opening quote
        const char *start = m_at;
        const char *run = m_at;
        bool escaped = false;
        const auto flush = [&] {
            if (text && m_at != run)
                text->append(QString::fromUtf8(run, m_at - run));
        };
        while (m_at != m_end && *m_at != '"') {
            const auto c = static_cast<unsigned char>(*m_at);
            if (c < 0x20)
                return fail(u"字符串中有未转义的控制字符"_s);
            if (c != '\\') {
                ++m_at;
                continue;
            }
            flush();
            escaped = true;
            if (++m_at == m_end)
                break;
            const char escape = *m_at++;
            char16_t decoded = 0;
            switch (escape) {
            case '"':
            case '\\':
            case '/':
                decoded = char16_t(escape);
                break;
            case 'b':
                decoded = u'\b';
                break;
            case 'f':
                decoded = u'\f';
                break;
            case 'n':
                decoded = u'\n';
                break;
            case 'r':
                decoded = u'\r';
                break;
            case 't':
                decoded = u'\t';
                break;
            case 'u':
                for (int i = 0; i < 4; ++i, ++m_at) {
                    const int digit = m_at == m_end ? -1 : hexDigit(*m_at);
                    if (digit < 0)
                        return failAtEnd(u"转义序列有误"_s);
                    decoded = char16_t(decoded * 16 + digit);
                }
                break;
            default:
                --m_at;
                return fail(u"转义序列有误"_s);
            }
            if (text)
                text->append(QChar(decoded));
            run = m_at;
        }
        if (m_at == m_end)
            return fail(u"字符串未结束"_s);
        flush();
        if (raw && !escaped)
            *raw = QByteArrayView(start, m_at - start);
        ++m_at; // the closing quote
        if (text)
            replaceLoneSurrogates(*text);
        return true;
    }

    bool array(JsonNode *node, int depth)
    {
        if (depth > maximumDepth)
            return fail(u"嵌套超过 %1 层"_s.arg(maximumDepth));
        if (node)
            node->kind = JsonNode::Kind::array;
        ++m_at;
        skipSpace();
        if (m_at != m_end && *m_at == ']') {
            ++m_at;
            return true;
        }
        while (true) {
            skipSpace();
            if (!value(nullptr, depth))
                return false;
            skipSpace();
            if (m_at == m_end)
                return failAtEnd({});
            if (*m_at == ']') {
                ++m_at;
                return true;
            }
            if (*m_at != ',')
                return fail(u"缺少“,”或“]”"_s);
            ++m_at;
        }
    }

    bool object(JsonNode *node, int depth, quint64 paths)
    {
        if (depth > maximumDepth)
            return fail(u"嵌套超过 %1 层"_s.arg(maximumDepth));
        if (node)
            node->kind = JsonNode::Kind::object;
        ++m_at;
        skipSpace();
        if (m_at != m_end && *m_at == '}') {
            ++m_at;
            return true;
        }
        while (true) {
            skipSpace();
            if (m_at == m_end || *m_at != '"')
                return failAtEnd(u"应为用引号括起的成员名"_s);
            // Names are compared as they are written; one with escapes is read again, decoded.
            const char *keyStart = m_at;
            QByteArrayView raw;
            QByteArray escapedKey;
            if (!string(nullptr, node ? &raw : nullptr))
                return false;
            if (node && raw.isNull()) {
                const char *keyEnd = m_at;
                m_at = keyStart;
                QString decoded;
                string(&decoded, nullptr);
                m_at = keyEnd;
                escapedKey = decoded.toUtf8();
                raw = escapedKey;
            }
            skipSpace();
            if (m_at == m_end || *m_at != ':')
                return failAtEnd(u"缺少“:”"_s);
            ++m_at;
            skipSpace();
            // Kept objects are nested in kept objects only, so their depth counts the names.
            const quint64 childPaths = node ? memberPaths(paths, depth - 1, raw) : 0;
            const bool keep = childPaths != 0;
            JsonNode child;
            if (!value(keep ? &child : nullptr, depth, childPaths))
                return false;
            if (keep)
                node->members.push_back({QString::fromUtf8(raw), std::move(child)});
            skipSpace();
            if (m_at == m_end)
                return failAtEnd({});
            if (*m_at == '}') {
                ++m_at;
                return true;
            }
            if (*m_at != ',')
                return fail(u"缺少“,”或“}”"_s);
            ++m_at;
        }
    }

    const char *m_begin;
    const char *m_at;
    const char *m_end;
    const QList<QList<QByteArray>> &m_paths;
    bool m_failed = false;
    JsonPickError m_error;
};

} // namespace

JsonPick pickJson(const QByteArray &json, const QList<QList<QByteArray>> &paths)
{
    return Picker(json, paths).run();
}

} // namespace kelvary
