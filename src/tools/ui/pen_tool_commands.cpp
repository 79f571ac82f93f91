// The pen tab's commands: the range, its shape and the target colours.

#include <climits>

#include "app/ui/qt_text.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "resources/command_ids.h"
#include "resources/texts.h"
#include "tools/ui/pen_tool.h"

namespace palvex::ui {

int LeadingEditNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i].isDigit(); ++i) {
        value = std::min<long long>(value * 10 + text[i].digitValue(), INT_MAX + 1LL);
    }
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

void PenTool::SetWholeImage(bool on) {
    ProcessingRange range = Range();
    if (range.wholeImage != on) {
        range.wholeImage = on;
        StoreRange(range);
        if (on) {
            services_.view.ErasePointerOverlay();
        }
    }
    services_.ribbon.SetChosenOption(on ? cmd::ID_HANI_ALL : cmd::ID_HANI_PART,
                                     on ? cmd::ID_HANI_PART : cmd::ID_HANI_ALL);
}

void PenTool::SetAllColours(bool on) {
    services_.model.settings.allColours = on ? 1 : 0;
    services_.ribbon.SetChosenOption(on ? cmd::ID_COL_ALL : cmd::ID_COL_KINJI,
                                     on ? cmd::ID_COL_KINJI : cmd::ID_COL_ALL);
}

// A typed value outside the spin range is pulled into it, and the edit shows what is used.
void PenTool::TakeEditValue(int id) {
    CMyRibbonBar& ribbon = services_.ribbon;
    const int typed = LeadingEditNumber(ribbon.EditText(id));
    ProcessingRange range = Range();
    int& field = id == cmd::ID_HANI_SPIN ? range.size : range.flatness;
    field = id == cmd::ID_HANI_SPIN ? ClampRangeSize(typed) : ClampFlatness(typed);
    StoreRange(range);
    if (field != typed) {
        ribbon.SetEditText(id, QString::number(field));
    }
}

void PenTool::SetShape(int shape, bool showInGallery) {
    ProcessingRange range = Range();
    range.shape = std::clamp(shape, 0, 2);
    StoreRange(range);
    if (showInGallery) {
        services_.ribbon.SetGallerySelection(cmd::ID_PEN_STYLE, range.shape);
    }
}

bool PenTool::OnCommand(int id) {
    switch (id) {
        case cmd::ID_HANI_ALL:
        case cmd::ID_HANI_PART:
            SetWholeImage(id == cmd::ID_HANI_ALL);
            return true;
        case cmd::ID_HANI_SPIN:
        case cmd::ID_FLAT_SPIN:
            TakeEditValue(id);
            return true;
        case cmd::ID_FLAT_HV: {
            ProcessingRange range = Range();
            range.flatDirection = 1 - range.flatDirection;
            StoreRange(range);
            RedrawAtPointer();
            return true;
        }
        case cmd::ID_PEN_STYLE:
            SetShape(services_.ribbon.GallerySelection(cmd::ID_PEN_STYLE), false);
            return true;
        case cmd::ID_PEN_RECT:
        case cmd::ID_PEN_ELLIPSE:
        case cmd::ID_PEN_TRIANGLE:
            SetShape(id - cmd::ID_PEN_RECT, true);
            RedrawAtPointer();
            return true;
        case cmd::ID_COL_ALL:
        case cmd::ID_COL_KINJI:
            SetAllColours(id == cmd::ID_COL_ALL);
            return true;
        case cmd::ID_KINJI_SLIDER:
            services_.model.settings.tolerance =
                ClampTolerance(services_.ribbon.SliderPosition(cmd::ID_KINJI_SLIDER));
            return true;
        default:
            return false;
    }
}

bool PenTool::OnUpdateCommand(int id, CommandUiState& state) {
    const AppSettings& settings = services_.model.settings;
    switch (id) {
        case cmd::ID_HANI_ALL:
            state.checked = settings.wholeImage == 1;
            return true;
        case cmd::ID_HANI_PART:
            state.checked = settings.wholeImage != 1;
            return true;
        case cmd::ID_COL_ALL:
            state.checked = settings.allColours == 1;
            return true;
        case cmd::ID_COL_KINJI:
            state.checked = settings.allColours != 1;
            return true;
        case cmd::ID_FLAT_HV:
            state.text = ToQString(settings.flatDirection == 1 ? texts::kFlatHorizontalLabel
                                                               : texts::kFlatVerticalLabel);
            return true;
        case cmd::ID_HANI_SPIN:
        case cmd::ID_FLAT_SPIN:
        case cmd::ID_PEN_STYLE:
        case cmd::ID_PEN_RECT:
        case cmd::ID_PEN_ELLIPSE:
        case cmd::ID_PEN_TRIANGLE:
        case cmd::ID_KINJI_SLIDER:
            return true;
        default:
            return false;
    }
}

}  // namespace palvex::ui
