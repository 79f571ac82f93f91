#include "resources/ts_catalogue.h"

#include <charconv>

namespace palvex {
namespace {

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The small part of XML that catalogues use: elements, attributes, character references and the
// five named entities, comments, the declaration and the document type.
class Reader {
public:
    explicit Reader(std::string_view xml) : xml_(xml) {}

    bool Parse(TsCatalogue& catalogue, std::string& error) {
        if (!ParseDocument(catalogue)) {
            error = "line " + std::to_string(Line()) + ": " + error_;
            return false;
        }
        return true;
    }

private:
    struct Tag {
        std::string name;
        std::vector<std::pair<std::string, std::string>> attributes;
        bool closing = false;
        bool empty = false;

        std::string Attribute(std::string_view key) const {
            for (const auto& [name, value] : attributes) {
                if (name == key) {
                    return value;
                }
            }
            return {};
        }
    };

    // Counted on from the last call, since messages are read in order.
    int Line() {
        for (; counted_ < at_ && counted_ < xml_.size(); ++counted_) {
            line_ += xml_[counted_] == '\n' ? 1 : 0;
        }
        return line_;
    }

    bool Fail(std::string message) {
        error_ = std::move(message);
        return false;
    }

    bool Skip(std::string_view end) {
        const std::size_t found = xml_.find(end, at_);
        if (found == std::string_view::npos) {
            return Fail("unterminated markup");
        }
        at_ = found + end.size();
        return true;
    }

    // Text up to the next tag, with its references resolved.
    bool ReadText(std::string& text) {
        while (at_ < xml_.size() && xml_[at_] != '<') {
            if (xml_[at_] != '&') {
                text += xml_[at_++];
                continue;
            }
            const std::size_t end = xml_.find(';', at_);
            if (end == std::string_view::npos || end - at_ > 12) {
                return Fail("bad character reference");
            }
            const std::string_view name = xml_.substr(at_ + 1, end - at_ - 1);
            at_ = end + 1;
            if (name == "amp") {
                text += '&';
            } else if (name == "lt") {
                text += '<';
            } else if (name == "gt") {
                text += '>';
            } else if (name == "quot") {
                text += '"';
            } else if (name == "apos") {
                text += '\'';
            } else if (name.size() > 1 && name[0] == '#') {
                const bool hex = name[1] == 'x';
                const std::string_view digits = name.substr(hex ? 2 : 1);
                unsigned code = 0;
                const auto [rest, ec] = std::from_chars(
                    digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
                if (ec != std::errc() || rest != digits.data() + digits.size() || code == 0 ||
                    code > 0x10FFFF) {
                    return Fail("bad character reference");
                }
                AppendUtf8(text, code);
            } else {
                return Fail("unknown entity &" + std::string(name) + ";");
            }
        }
        return true;
    }

    // The next tag, skipping comments, processing instructions and the document type; false at
    // the end of the document (with no error) or on bad markup.
    bool ReadTag(Tag& tag) {
        for (;;) {
            std::string ignored;
            if (!ReadText(ignored)) {
                return false;
            }
            if (at_ >= xml_.size()) {
                return false;
            }
            if (xml_.substr(at_, 4) == "<!--") {
                if (!Skip("-->")) {
                    return false;
                }
            } else if (xml_.substr(at_, 2) == "<?" || xml_.substr(at_, 2) == "<!") {
                if (!Skip(">")) {
                    return false;
                }
            } else {
                break;
            }
        }
        return ReadTagAt(tag);
    }

    bool ReadTagAt(Tag& tag) {
        tag = Tag{};
        ++at_;  // '<'
        if (at_ < xml_.size() && xml_[at_] == '/') {
            tag.closing = true;
            ++at_;
        }
        const auto isNameChar = [](char c) {
            return c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '>' && c != '/' &&
                   c != '=';
        };
        while (at_ < xml_.size() && isNameChar(xml_[at_])) {
            tag.name += xml_[at_++];
        }
        for (;;) {
            while (at_ < xml_.size() && (xml_[at_] == ' ' || xml_[at_] == '\t' ||
                                         xml_[at_] == '\n' || xml_[at_] == '\r')) {
                ++at_;
            }
            if (at_ >= xml_.size()) {
                return Fail("unterminated tag <" + tag.name + ">");
            }
            if (xml_[at_] == '>') {
                ++at_;
                break;
            }
            if (xml_.substr(at_, 2) == "/>") {
                tag.empty = true;
                at_ += 2;
                break;
            }
            std::string name;
            while (at_ < xml_.size() && isNameChar(xml_[at_])) {
                name += xml_[at_++];
            }
            if (name.empty() || at_ + 1 >= xml_.size() || xml_[at_] != '=' ||
                (xml_[at_ + 1] != '"' && xml_[at_ + 1] != '\'')) {
                return Fail("bad attribute in <" + tag.name + ">");
            }
            const char quote = xml_[at_ + 1];
            at_ += 2;
            const std::size_t end = xml_.find(quote, at_);
            if (end == std::string_view::npos) {
                return Fail("unterminated attribute");
            }
            Reader value(xml_.substr(at_, end - at_));
            std::string text;
            if (!value.ReadText(text)) {
                return Fail(value.error_);
            }
            tag.attributes.emplace_back(std::move(name), std::move(text));
            at_ = end + 1;
        }
        if (tag.name.empty()) {
            return Fail("tag without a name");
        }
        return true;
    }

    // The text of an element whose start tag was just read, up to its end tag. Child elements
    // give their text only when they are the first plural form or a <byte>.
    bool ReadElementText(const Tag& start, std::string& text) {
        if (start.empty) {
            return true;
        }
        bool formTaken = false;
        for (;;) {
            if (!ReadText(text)) {
                return false;
            }
            Tag tag;
            if (!ReadTag(tag)) {
                return error_.empty() ? Fail("<" + start.name + "> is not closed") : false;
            }
            if (tag.closing) {
                return tag.name == start.name ? true : Fail("</" + tag.name + "> out of place");
            }
            if (tag.name == "byte") {
                const std::string value = tag.Attribute("value");
                unsigned code = 0;
                const bool hex = value.starts_with('x');
                const char* begin = value.data() + (hex ? 1 : 0);
                if (std::from_chars(begin, value.data() + value.size(), code, hex ? 16 : 10).ec !=
                    std::errc()) {
                    return Fail("bad <byte>");
                }
                AppendUtf8(text, code);
                std::string ignored;
                if (!ReadElementText(tag, ignored)) {
                    return false;
                }
                continue;
            }
            std::string inner;
            if (!ReadElementText(tag, inner)) {
                return false;
            }
            if ((tag.name == "numerusform" || tag.name == "lengthvariant") && !formTaken) {
                text += inner;
                formTaken = true;
            }
        }
    }

    bool ParseMessage(const std::string& context, TsCatalogue& catalogue) {
        TsMessage message;
        message.context = context;
        message.line = Line();
        bool hasSource = false;
        bool hasTranslation = false;
        for (;;) {
            Tag tag;
            if (!ReadTag(tag)) {
                return error_.empty() ? Fail("<message> is not closed") : false;
            }
            if (tag.closing) {
                if (tag.name != "message") {
                    return Fail("</" + tag.name + "> out of place");
                }
                break;
            }
            std::string text;
            if (!ReadElementText(tag, text)) {
                return false;
            }
            if (tag.name == "source") {
                message.source = std::move(text);
                hasSource = true;
            } else if (tag.name == "translation") {
                message.translation = std::move(text);
                message.type = tag.Attribute("type");
                hasTranslation = true;
            }
        }
        if (!hasSource || !hasTranslation) {
            return Fail("a <message> lacks its source or translation");
        }
        catalogue.messages.push_back(std::move(message));
        return true;
    }

    bool ParseContext(TsCatalogue& catalogue) {
        std::string name;
        bool named = false;
        for (;;) {
            Tag tag;
            if (!ReadTag(tag)) {
                return error_.empty() ? Fail("<context> is not closed") : false;
            }
            if (tag.closing) {
                return tag.name == "context" ? true : Fail("</" + tag.name + "> out of place");
            }
            if (tag.name == "name") {
                if (!ReadElementText(tag, name)) {
                    return false;
                }
                named = true;
            } else if (tag.name == "message") {
                if (!named) {
                    return Fail("a <message> before its context's <name>");
                }
                if (!ParseMessage(name, catalogue)) {
                    return false;
                }
            } else {
                std::string ignored;
                if (!ReadElementText(tag, ignored)) {
                    return false;
                }
            }
        }
    }

    bool ParseDocument(TsCatalogue& catalogue) {
        Tag root;
        if (!ReadTag(root)) {
            return error_.empty() ? Fail("no <TS> element") : false;
        }
        if (root.name != "TS" || root.closing) {
            return Fail("not a translation catalogue (no <TS> element)");
        }
        catalogue.language = root.Attribute("language");
        catalogue.sourceLanguage = root.Attribute("sourcelanguage");
        if (root.empty) {
            return true;
        }
        for (;;) {
            Tag tag;
            if (!ReadTag(tag)) {
                return error_.empty() ? Fail("<TS> is not closed") : false;
            }
            if (tag.closing) {
                return tag.name == "TS" ? true : Fail("</" + tag.name + "> out of place");
            }
            if (tag.name == "context") {
                if (!tag.empty && !ParseContext(catalogue)) {
                    return false;
                }
            } else {
                std::string ignored;
                if (!ReadElementText(tag, ignored)) {
                    return false;
                }
            }
        }
    }

    std::string_view xml_;
    std::size_t at_ = 0;
    std::size_t counted_ = 0;
    int line_ = 1;
    std::string error_;
};

}  // namespace

bool ParseTsCatalogue(std::string_view xml, TsCatalogue& catalogue, std::string& error) {
    catalogue = TsCatalogue{};
    return Reader(xml).Parse(catalogue, error);
}

}  // namespace palvex
