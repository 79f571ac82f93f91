// The values the ribbon's elements hold, read and set by command value.

#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/ribbon_button.h"
#include "mainwindow/ui/ribbon_gallery.h"
#include "mainwindow/ui/ribbon_icons.h"
#include "mainwindow/ui/ribbon_slider.h"
#include "mainwindow/ui/ribbon_spin_edit.h"

namespace palvex::ui {

ColourMenu* CMyRibbonBar::Colours(int id) const {
    for (const RibbonElement& element : elements_) {
        if (element.row->id == id && element.colours != nullptr) {
            return element.colours;
        }
    }
    return nullptr;
}

Colour CMyRibbonBar::ColourOf(int id) const {
    const ColourMenu* colours = Colours(id);
    return colours != nullptr ? colours->CurrentColour() : kNoColour;
}

void CMyRibbonBar::SetColour(int id, Colour colour) {
    // A colour shown by two elements (none today) would be kept in step.
    for (const RibbonElement& element : elements_) {
        if (element.row->id == id && element.colours != nullptr) {
            element.colours->SetCurrentColour(colour);
        }
    }
}

RibbonSlider* CMyRibbonBar::Slider(int id) const {
    const RibbonElement* element = First(id);
    return element != nullptr ? qobject_cast<RibbonSlider*>(element->widget) : nullptr;
}

int CMyRibbonBar::SliderPosition(int id) const {
    const RibbonSlider* slider = Slider(id);
    return slider != nullptr ? slider->Position() : 0;
}

void CMyRibbonBar::SetSliderPosition(int id, int position) {
    if (RibbonSlider* slider = Slider(id)) {
        slider->SetPosition(position);
    }
}

QString CMyRibbonBar::EditText(int id) const {
    const RibbonElement* element = First(id);
    const auto* edit =
        element != nullptr ? qobject_cast<RibbonSpinEdit*>(element->widget) : nullptr;
    return edit != nullptr ? edit->Text() : QString();
}

void CMyRibbonBar::SetEditText(int id, const QString& text) {
    const RibbonElement* element = First(id);
    if (auto* edit =
            element != nullptr ? qobject_cast<RibbonSpinEdit*>(element->widget) : nullptr) {
        edit->SetText(text);
    }
}

int CMyRibbonBar::GallerySelection(int id) const {
    const RibbonElement* element = First(id);
    const auto* gallery =
        element != nullptr ? qobject_cast<RibbonGallery*>(element->widget) : nullptr;
    return gallery != nullptr ? gallery->SelectedItem() : -1;
}

void CMyRibbonBar::SetGallerySelection(int id, int item) {
    const RibbonElement* element = First(id);
    if (auto* gallery =
            element != nullptr ? qobject_cast<RibbonGallery*>(element->widget) : nullptr) {
        gallery->SetSelectedItem(item);
    }
}

void CMyRibbonBar::SetChosenOption(int chosenId, int otherId) {
    if (RibbonButton* chosen = Button(chosenId)) {
        chosen->SetPicture(QIcon(RadioPicture(true)));
        chosen->setProperty("image", kRadioImageOn);
    }
    if (RibbonButton* other = Button(otherId)) {
        other->SetPicture(QIcon(RadioPicture(false)));
        other->setProperty("image", kRadioImageOff);
    }
}

int CMyRibbonBar::OptionImage(int id) const {
    const RibbonButton* button = Button(id);
    return button != nullptr ? button->property("image").toInt() : 0;
}

}  // namespace palvex::ui
