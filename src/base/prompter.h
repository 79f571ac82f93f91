#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace palvex {

enum class MessageIcon { Error, Information, Question };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

// One message box: the text is `prefix` followed by the string-table entry `id` (id 0: the
// prefix alone). The caption is always the application title.
struct MessageRequest {
    int id = 0;
    std::string prefix;
    MessageIcon icon = MessageIcon::Error;
    MessageButtons buttons = MessageButtons::Ok;

    std::string Text() const;
};

struct FileFilter {
    std::string label;     // what the dialog shows
    std::string patterns;  // "*.jpg;*.jpeg"
};

struct SaveFileRequest {
    std::string title;
    std::string initialName;
    std::string defaultExtension;  // appended when the user types a name without one
    std::vector<FileFilter> filters;
    int selectedFilter = 1;  // 1-based
    // Where the dialog starts; empty: the folder the last dialog was confirmed in.
    std::filesystem::path folder = {};
};

struct OpenFileRequest {
    std::string title;
    std::vector<FileFilter> filters;
    int selectedFilter = 1;             // 1-based
    std::filesystem::path folder = {};  // as in SaveFileRequest
};

struct SaveFileChoice {
    std::filesystem::path path;
    // 1-based index of the filter selected when the user confirmed; 0 when the dialog could
    // not tell which one it was.
    int filter = 1;
};

// Every message box, question and dialog goes through this interface, so the UI, the
// command-line tool and the tests can each answer it their own way. The dialogs default to
// "cancelled" for callers that have no user to ask.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual Answer Show(const MessageRequest& request) = 0;
    virtual std::optional<SaveFileChoice> AskSaveFile(const SaveFileRequest& request);
    // The chosen file and the filter selected when the user confirmed.
    virtual std::optional<SaveFileChoice> AskOpenFile(const OpenFileRequest& request);
    // The colour dialog, starting at `initial` (0x00BBGGRR; kNoColour for none).
    virtual std::optional<std::uint32_t> AskColour(std::uint32_t initial);
    // The JPEG quality dialog: 10..100, starting at `initial`.
    virtual std::optional<int> AskJpegQuality(int initial);

    void Error(int id, std::string_view prefix = {});
    void Information(int id, std::string_view prefix = {});
    // Question icon with Yes and No; true for Yes.
    bool AskYesNo(int id, std::string_view prefix = {});
};

// Answers every question with a fixed reply and shows nothing; for callers with no user.
class SilentPrompter final : public Prompter {
public:
    explicit SilentPrompter(Answer reply = Answer::No) : reply_(reply) {}
    Answer Show(const MessageRequest& request) override;

private:
    Answer reply_;
};

}  // namespace palvex
