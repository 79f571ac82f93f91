#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace palvex {

// One message of a Qt Linguist catalogue (.ts): the text's context and source and its
// translation with the translator's state.
struct TsMessage {
    std::string context;
    std::string source;
    std::string translation;
    std::string type;  // "" when finished, else "unfinished", "obsolete" or "vanished"
    int line = 0;      // of the <message> element, for diagnostics
};

struct TsCatalogue {
    std::string language;
    std::string sourceLanguage;
    std::vector<TsMessage> messages;
};

// Reads the XML of a catalogue. False, with `error` naming the line, for anything that is not a
// well-formed catalogue; a message with plural forms takes its first form.
bool ParseTsCatalogue(std::string_view xml, TsCatalogue& catalogue, std::string& error);

}  // namespace palvex
