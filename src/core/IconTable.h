// The twenty icons of the instrument picture: check box, caption, picture element and icon bit.
#pragma once

namespace icons
{

enum class Group { Upper, Middle, LowerLeft, LowerRight };

struct IconDef {
    const char *box;        // check box name
    const char *caption;    // check box caption
    const char *accessible; // check box accessible name (captions repeat across groups)
    const char *element;    // picture element of the instrument picture
    int byte;               // icon byte 1..4 of the display configuration block
    int bit;                // bit 0..7 of that byte
    Group group;
};

constexpr int kCount = 20;

// In the order "turn all icons on" and ClearDisplayIcons walk them (Temp last).
extern const IconDef kIcons[kCount];

// Index into kIcons of the icon that owns a bit, or -1 for an unowned bit.
int indexOf(int byte, int bit);

} // namespace icons
