// What the data bytes of the write frames did to the areas of the configuration image
// in the instrument: which areas may now hold a byte that was sent, and which have a
// byte the instrument did not confirm. The link notes every data byte it sends.
#pragma once

#include "core/ImageAreas.h"

#include <array>

class ImageWrites
{
public:
    // A command frame went out: a write of the internal memory or the 24C512 starts
    // at `address`; any other command carries no image bytes.
    void frame(int code, int address);
    // The next data byte of the frame went out; answers its area (-1: none). Until its
    // echo says otherwise it may have been stored and is not confirmed.
    int byteSent();
    // The echo wait of a byte of `area` ended: with nothing at all back (the
    // instrument took none of it), or confirmed.
    void echoed(int area, bool nothingBack, bool confirmed);

    ImageAreas reached() const { return areas(m_held); }
    ImageAreas unconfirmed() const { return areas(m_unconfirmed); }
    void clear();

private:
    static constexpr int kAreas = 18; // 0 the settings, 1..16 the display configurations, 17 the curves
    static ImageAreas areas(const std::array<int, kAreas> &counts);
    int m_code = -1;
    int m_address = 0;
    std::array<int, kAreas> m_held{};
    std::array<int, kAreas> m_unconfirmed{};
};
