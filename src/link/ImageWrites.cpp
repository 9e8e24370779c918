#include "link/ImageWrites.h"

#include "core/Protocol.h"

namespace
{
constexpr int kCurvesArea = 17;

int areaOf(int code, int address)
{
    if (code == proto::kWriteInternalNvm)
        return address < 256 ? 0 : -1;
    const int blocksEnd = proto::kConfigBlockBase + 16 * proto::kConfigBlockSize;
    if (address >= proto::kConfigBlockBase && address < blocksEnd)
        return (address - proto::kConfigBlockBase) / proto::kConfigBlockSize + 1;
    if (address >= proto::kCurveBase && address < proto::kCurveBase + 32 * proto::kCurveSize)
        return kCurvesArea;
    return -1;
}
} // namespace

void ImageWrites::frame(int code, int address)
{
    const bool write = code == proto::kWriteInternalNvm || code == proto::kWrite24C512;
    m_code = write ? code : -1;
    m_address = address;
}

int ImageWrites::byteSent()
{
    if (m_code < 0)
        return -1;
    const int area = areaOf(m_code, m_address++);
    if (area >= 0) {
        ++m_held[area];
        ++m_unconfirmed[area];
    }
    return area;
}

void ImageWrites::echoed(int area, bool nothingBack, bool confirmed)
{
    if (area < 0)
        return;
    if (nothingBack)
        --m_held[area];
    if (confirmed)
        --m_unconfirmed[area];
}

void ImageWrites::clear()
{
    m_code = -1;
    m_held.fill(0);
    m_unconfirmed.fill(0);
}

ImageAreas ImageWrites::areas(const std::array<int, kAreas> &counts)
{
    ImageAreas a;
    a.settings = counts[0] > 0;
    for (int n = 1; n <= 16; ++n)
        a.configurations[n - 1] = counts[n] > 0;
    a.curves = counts[kCurvesArea] > 0;
    return a;
}
