#include "import/jsonpick.h"

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

// The kept tree in one line: {key:value,…}, "text", numbers, true/false, null, [] for arrays.
QString describe(const JsonNode &node)
{
    switch (node.kind) {
    case JsonNode::Kind::null:
        return u"null"_s;
    case JsonNode::Kind::boolean:
        return node.boolean ? u"true"_s : u"false"_s;
    case JsonNode::Kind::number:
        return QString::number(node.number);
    case JsonNode::Kind::string:
        return u'"' + node.string + u'"';
    case JsonNode::Kind::array:
        return u"[]"_s;
    case JsonNode::Kind::object:
        break;
    }
    QStringList members;
    for (const auto &[key, value] : node.members)
        members << key + u':' + describe(value);
    return u'{' + members.join(u',') + u'}';
}

QString pick(const QByteArray &json)
{
    const JsonPick picked = pickJson(json, {{"s"}, {"a", "*", "b"}, {"f"}});
    if (!picked.root)
        return u"%1: %2"_s.arg(picked.error.offset).arg(picked.error.reason);
    return describe(*picked.root);
}

} // namespace

TEST(JsonPick, KeepsOnlyTheWantedPathsOfAValidDocument)
{
    EXPECT_EQ(pick(R"( {"s": "x\u00e9\n\"\/", "n": 1, "a": {"k": {"b": -1.5e2, "c": 9},
                   "l": [1, {"b": 2}, "]"]}, "t": true, "f": false, "s2": null} )"),
              u"{s:\"x\u00E9\n\"/\",a:{k:{b:-150},l:[]},f:false}"_s);
    // A name written with escapes is the same name; a lone surrogate is no character.
    EXPECT_EQ(pick(R"({"\u0073": "\ud800x\ud83c\udfb5"})"), u"{s:\"\uFFFDx\U0001F3B5\"}"_s);
    EXPECT_EQ(pick("[{\"s\": 1}]"), u"[]"_s);
}

TEST(JsonPick, RefusesWhatIsNotJsonSayingWhereAndWhy)
{
    const struct {
        QByteArray json;
        QString error;
    } cases[] = {
        {"", u"1: 文档为空"_s},
        {"{\"a\":1,}", u"8: 应为用引号括起的成员名"_s},
        {"{\"a\" 1}", u"6: 缺少“:”"_s},
        {"{\"a\":01}", u"7: 缺少“,”或“}”"_s},
        {"{\"a\":1.}", u"8: 数字格式有误"_s},
        {"{\"a\":-}", u"7: 数字格式有误"_s},
        {"{\"a\":\"x", u"8: 字符串未结束"_s},
        {"{\"a\":\"\\x\"}", u"8: 转义序列有误"_s},
        {"{\"a\":\"\\u12G4\"}", u"11: 转义序列有误"_s},
        {"{\"a\":\"\t\"}", u"7: 字符串中有未转义的控制字符"_s},
        {"{\"a\":[1 2]}", u"9: 缺少“,”或“]”"_s},
        {"{\"a\":tru}", u"6: 意外的字符"_s},
        {"{} x", u"4: 文档结束后还有多余的内容"_s},
        {"{\"a\":", u"6: 文档不完整"_s},
        {QByteArray(600, '['), u"513: 嵌套超过 512 层"_s},
    };
    for (const auto &c : cases)
        EXPECT_EQ(pick(c.json), c.error) << c.json.toStdString();
}
