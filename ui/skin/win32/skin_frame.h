// A skinned dialog's frame described as data: its background picture,
// whether its body drags it, and its picture buttons, each with its two
// pictures and its tooltip. SkinnedDialog::ApplyFrame puts a frame on the
// window, so that a dialog's start is its frame table plus its own work.
#pragma once
#include <string>
#include <vector>

namespace tvx::win {

struct FrameButton {
    int id = 0;
    std::string normal, pressed;  // pictures in the installation's "Images" folder
    std::string tip;              // the tooltip, also the button's name for screen readers; empty: none
};

// A picture button: `name`_01.png, and `name`_02.png under the pointer
// (`first` 3: _03 and _04).
inline FrameButton PictureButton(int id, const std::string& name, std::string tip, int first = 1) {
    const auto number = [](int n) { return std::string(n < 10 ? "_0" : "_") + std::to_string(n) + ".png"; };
    return {id, name + number(first), name + number(first + 1), std::move(tip)};
}
// A button that shows its own text on the common button picture.
inline FrameButton LabelButton(int id, std::string tip = std::string()) {
    return {id, "normalbtn_01.png", "normalbtn_02.png", std::move(tip)};
}
// The small arrow that opens a list.
inline FrameButton ListDropButton(int id, std::string tip) {
    return {id, "ComboButton.png", "ComboButton.png", std::move(tip)};
}

struct SkinFrame {
    std::string background;  // a picture in "Images"
    bool dragByBody = true;  // a press anywhere on the body moves the window
    std::vector<FrameButton> buttons;
};

}  // namespace tvx::win
