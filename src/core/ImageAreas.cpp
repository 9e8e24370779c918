#include "core/ImageAreas.h"

#include <QStringList>
#include <algorithm>
#include <cstring>

ImageAreas ImageAreas::all()
{
    ImageAreas p;
    p.settings = p.curves = true;
    p.configurations.fill(true);
    return p;
}

ImageAreas ImageAreas::settingsOnly()
{
    ImageAreas p;
    p.settings = true;
    return p;
}

bool ImageAreas::any() const
{
    if (settings || curves)
        return true;
    for (bool c : configurations)
        if (c)
            return true;
    return false;
}

ImageAreas ImageAreas::operator&(const ImageAreas &other) const
{
    ImageAreas p;
    p.settings = settings && other.settings;
    p.curves = curves && other.curves;
    for (int i = 0; i < 16; ++i)
        p.configurations[i] = configurations[i] && other.configurations[i];
    return p;
}

ImageAreas ImageAreas::operator|(const ImageAreas &other) const
{
    ImageAreas p;
    p.settings = settings || other.settings;
    p.curves = curves || other.curves;
    for (int i = 0; i < 16; ++i)
        p.configurations[i] = configurations[i] || other.configurations[i];
    return p;
}

ImageAreas ImageAreas::without(const ImageAreas &other) const
{
    ImageAreas p;
    p.settings = settings && !other.settings;
    p.curves = curves && !other.curves;
    for (int i = 0; i < 16; ++i)
        p.configurations[i] = configurations[i] && !other.configurations[i];
    return p;
}

bool ImageAreas::operator==(const ImageAreas &other) const
{
    return settings == other.settings && curves == other.curves && configurations == other.configurations;
}

namespace
{
// "1-3 and 5" for the display configurations listed.
QString configurationRanges(const std::array<bool, 16> &c)
{
    QStringList ranges;
    for (int i = 0; i < 16; ++i) {
        if (!c[i])
            continue;
        int j = i;
        while (j + 1 < 16 && c[j + 1])
            ++j;
        ranges << (i == j ? QString::number(i + 1) : QStringLiteral("%1-%2").arg(i + 1).arg(j + 1));
        i = j;
    }
    if (ranges.size() <= 1)
        return ranges.join(QString());
    const QString last = ranges.takeLast();
    return ranges.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}
} // namespace

QString ImageAreas::describe() const
{
    QStringList words;
    if (settings)
        words << QStringLiteral("settings");
    const int count = int(std::count(configurations.begin(), configurations.end(), true));
    if (count > 0)
        words << (count == 1 ? QStringLiteral("display configuration ") : QStringLiteral("display configurations ")) +
                     configurationRanges(configurations);
    if (curves)
        words << QStringLiteral("sender curves");
    return words.isEmpty() ? QStringLiteral("nothing") : words.join(QStringLiteral(", "));
}

ConfigImage overlay(const ConfigImage &base, const ConfigImage &from, const ImageAreas &areas)
{
    ConfigImage out = base;
    if (areas.settings)
        std::memcpy(out.system, from.system, sizeof out.system);
    for (int n = 1; n <= 16; ++n)
        if (areas.configurations[n - 1])
            std::memcpy(out.blocks[n], from.blocks[n], sizeof out.blocks[n]);
    if (areas.curves)
        std::memcpy(out.curves, from.curves, sizeof out.curves);
    return out;
}
