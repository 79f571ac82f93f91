#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "app/ui/ui_language.h"
#include "app/ui/vemmar_app.h"
#include "app/ui/vemmar_doc.h"
#include "base/settings_store.h"
#include "mainwindow/ui/main_frame.h"
#include "support/png_writer.h"
#include "support/test_support.h"

namespace palvex::test {

class NullShell final : public DesktopShell {
public:
    bool OpenFolder(const std::filesystem::path&) override { return true; }
};

// The editor's texts in `language` ("en", "ja") while it lives; windows read their texts when
// they are made, so it comes before Start(). Qt's own texts stay as the test main left them.
class ScopedUiLanguage {
public:
    explicit ScopedUiLanguage(const QString& language) : previous_(ui::UiLanguage::Current()) {
        installed_ = ui::UiLanguage::InstallTexts(language);
    }
    ~ScopedUiLanguage() { ui::UiLanguage::InstallTexts(previous_); }
    ScopedUiLanguage(const ScopedUiLanguage&) = delete;
    ScopedUiLanguage& operator=(const ScopedUiLanguage&) = delete;

    // The language installed: English for one without a catalogue.
    const QString& Installed() const { return installed_; }

private:
    QString previous_;
    QString installed_;
};

// An application with recorded prompts, settings in memory and a work folder of its own.
class AppFixture : public ::testing::Test {
protected:
    ui::CVemmarApp& MakeApp() {
        app = std::make_unique<ui::CVemmarApp>(
            ui::AppServices{prompter, store, shell, WorkFolder(temp.Path()),
                            [this](const AppSettings&) { return printerWorks; }});
        if (printer) {
            app->SetPrinter(printer);
        }
        return *app;
    }

    bool Start(const QStringList& arguments = {}) { return MakeApp().InitInstance(arguments); }

    // A 4 x 2 image: transparent in column 0 (the key becomes white), red elsewhere.
    std::filesystem::path WriteImage(const std::string& name = "a.png") {
        Bitmap image = SolidBitmap(4, 2, 0xFFFF0000u);
        image.Row(0)[0] = 0x00FFFFFFu;
        image.Row(1)[0] = 0x00FFFFFFu;
        const auto path = temp.File(name);
        WriteFileBytes(path, EncodeRgbaPng(image));
        return path;
    }

    // Runs `act` on the modal dialog the command opens, then lets the command finish.
    template <typename Dialog>
    void RunCommand(int command, std::function<void(Dialog&)> act) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            seen = true;
            act(*dialog);
            if (dialog->isVisible()) {
                dialog->reject();
            }
        });
        app->Router().Dispatch(command);
        EXPECT_TRUE(seen);
    }

    template <typename Widget>
    static Widget* Child(QWidget& dialog, const char* name) {
        auto* child = dialog.findChild<Widget*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    void TearDown() override {
        if (app && app->MainFrame() != nullptr) {
            app->Document().SetModifiedFlag(false);
            app->MainFrame()->close();
        }
    }

    TempDir temp;
    RecordingPrompter prompter;
    MemorySettings store;
    NullShell shell;
    bool printerWorks = true;
    // The printer the print command uses; none: the application's own PDF printer.
    std::function<QPrinter*()> printer;
    std::unique_ptr<ui::CVemmarApp> app;
};

}  // namespace palvex::test
