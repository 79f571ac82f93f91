#pragma once

// The editor with the desktop's own prompter: Qt's widget file dialog, real message boxes and
// the quality dialog, answered by keys and clicks as a person would.

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <deque>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "app/ui/qt_prompter.h"
#include "app/ui/qt_text.h"
#include "app/ui/vemmar_app.h"
#include "app/ui/vemmar_doc.h"
#include "base/settings_store.h"
#include "canvas/ui/vemmar_view.h"
#include "image/codecs/decoder.h"
#include "mainwindow/ui/main_frame.h"
#include "resources/string_table.h"
#include "support/test_support.h"
#include "ui/app_fixture.h"

namespace palvex::test {

// Handles the modal windows that open while it lives, one step each, in order. A window with
// no step left fails the test and is closed, so a test never hangs on an unexpected question.
class ModalScript {
public:
    using Step = std::function<void(QWidget&)>;

    explicit ModalScript(std::vector<Step> steps) : steps_(steps.begin(), steps.end()) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(0);
    }
    ~ModalScript() { EXPECT_TRUE(steps_.empty()) << steps_.size() << " windows never opened"; }

private:
    void Poll() {
        QWidget* window = QApplication::activeModalWidget();
        if (window == nullptr || window == current_ || !window->isVisible()) {
            return;
        }
        current_ = window;
        // A window opened while a step runs (the dialog's own complaint) is none of the script's.
        if (busy_ || steps_.empty()) {
            const auto* box = qobject_cast<QMessageBox*>(window);
            ADD_FAILURE() << "unexpected " << window->metaObject()->className() << " "
                          << (box != nullptr ? ui::ToStdString(box->text()) : std::string());
            if (auto* dialog = qobject_cast<QDialog*>(window)) {
                dialog->reject();
            }
            return;
        }
        const Step step = std::move(steps_.front());
        steps_.pop_front();
        const QPointer<QWidget> handled = window;
        busy_ = true;
        step(*window);
        busy_ = false;
        // A step that could not close its window must not leave the test waiting on it.
        if (handled && handled->isVisible()) {
            ADD_FAILURE() << "the step left " << handled->metaObject()->className() << " open";
            if (auto* dialog = qobject_cast<QDialog*>(handled.data())) {
                dialog->reject();
            }
        }
    }

    std::deque<Step> steps_;
    QTimer timer_;
    QPointer<QWidget> current_;
    bool busy_ = false;
};

// Qt's file dialog: picks filter `filter` (1-based; 0 keeps the one shown) with the keys of its
// combo box, types `name` into the name field and presses Enter.
inline ModalScript::Step TypeInFileDialog(const QString& name, int filter = 0,
                                          QString* startedIn = nullptr) {
    return [=](QWidget& window) {
        auto* dialog = qobject_cast<QFileDialog*>(&window);
        ASSERT_NE(dialog, nullptr) << window.metaObject()->className();
        if (startedIn != nullptr) {
            *startedIn = dialog->directory().absolutePath();
        }
        auto* combo = dialog->findChild<QComboBox*>("fileTypeCombo");
        auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(combo, nullptr);
        ASSERT_NE(edit, nullptr);
        if (filter > 0) {
            QTest::keyClick(combo, Qt::Key_Home);
            for (int i = 1; i < filter; ++i) {
                QTest::keyClick(combo, Qt::Key_Down);
            }
            EXPECT_EQ(combo->currentIndex(), filter - 1);
        }
        // Typing goes to the focused field, and only then does the dialog drop the selection
        // of a proposed file in its list.
        QApplication::setActiveWindow(dialog);
        edit->setFocus(Qt::OtherFocusReason);
        EXPECT_TRUE(edit->hasFocus());
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_FALSE(dialog->isVisible()) << "the dialog refused " << ui::ToStdString(name);
    };
}

// A message box: checks its text and clicks `button`.
inline ModalScript::Step AnswerBox(const std::string& text, QMessageBox::StandardButton button) {
    return [=](QWidget& window) {
        auto* box = qobject_cast<QMessageBox*>(&window);
        ASSERT_NE(box, nullptr) << window.metaObject()->className();
        EXPECT_EQ(ui::ToStdString(box->text()), text);
        QAbstractButton* clicked = box->button(button);
        ASSERT_NE(clicked, nullptr);
        QTest::mouseClick(clicked, Qt::LeftButton);
    };
}
inline ModalScript::Step AnswerBox(int id, QMessageBox::StandardButton button) {
    return AnswerBox(std::string(LoadString(id)), button);
}

// The JPEG quality dialog, confirmed as it opens.
inline ModalScript::Step ConfirmQuality() {
    return [](QWidget& window) {
        auto* ok = window.findChild<QPushButton*>("ok");
        ASSERT_NE(ok, nullptr) << window.metaObject()->className();
        QTest::mouseClick(ok, Qt::LeftButton);
    };
}

// The alpha of every pixel of a written file, top row first: a 32-bit BMP's fourth bytes as
// they are stored (the decoder takes BMPs as opaque), any other format decoded.
inline std::vector<std::uint8_t> AlphaOfFile(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    std::vector<std::uint8_t> alpha;
    const auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                          bytes[at + 3] << 24);
    };
    if (bytes.size() > 54 && bytes[0] == 'B' && bytes[1] == 'M') {
        EXPECT_EQ(bytes[28], 32) << "a transparent BMP has 32 bits a pixel";
        const std::size_t offset = u32(10);
        const auto width = static_cast<std::int32_t>(u32(18));
        const auto height = static_cast<std::int32_t>(u32(22));
        const int rows = height < 0 ? -height : height;
        for (int y = 0; y < rows; ++y) {
            const int stored = height < 0 ? y : rows - 1 - y;
            for (int x = 0; x < width; ++x) {
                const std::size_t at =
                    offset + (static_cast<std::size_t>(stored) * width + x) * 4 + 3;
                alpha.push_back(at < bytes.size() ? bytes[at] : 1);
            }
        }
        return alpha;
    }
    const DecodedImage image = DecodeImage(bytes);
    for (int y = 0; image.Ok() && y < image.pixels.Height(); ++y) {
        for (int x = 0; x < image.pixels.Width(); ++x) {
            alpha.push_back(static_cast<std::uint8_t>(image.pixels.Row(y)[x] >> 24));
        }
    }
    return alpha;
}

class RealPrompterFixture : public ::testing::Test {
protected:
    bool Start(const QStringList& arguments = {}) {
        app = std::make_unique<ui::CVemmarApp>(
            ui::AppServices{prompter, store, shell, WorkFolder(temp.Path()),
                            [](const AppSettings&) { return true; }});
        {
            ModalScript none({});  // a message at start-up fails the test instead of waiting
            if (!app->InitInstance(arguments)) {
                return false;
            }
        }
        prompter.SetParent(app->MainFrame());
        app->MainFrame()->resize(800, 600);
        return QTest::qWaitForWindowExposed(app->MainFrame());
    }

    // Runs a command while `steps` answer the windows it opens.
    void Run(int command, std::vector<ModalScript::Step> steps = {}) {
        ModalScript script(std::move(steps));
        app->Router().Dispatch(command);
    }

    void TearDown() override {
        if (app && app->MainFrame() != nullptr) {
            app->Document().SetModifiedFlag(false);
            app->MainFrame()->close();
        }
    }

    TempDir temp;
    ui::QtPrompter prompter;
    MemorySettings store;
    NullShell shell;
    std::unique_ptr<ui::CVemmarApp> app;
};

}  // namespace palvex::test
