// What the main window's connection indicator shows (shpCommsConnected fill, lblConnected text), refreshed by Timer1.
#pragma once

#include <QColor>
#include <QString>
#include <QtGlobal>

struct ConnectionIndicator {
    QColor fill;  // shpCommsConnected
    QString text; // lblConnected
};

// Green (0, 255, 0) and "Connected to Corvane" while Connected is true (-1);
// red (255, 0, 0) and "Not connected to Corvane" otherwise.
inline ConnectionIndicator connectionIndicator(qint16 connected)
{
    if (connected)
        return {QColor(0, 255, 0), QStringLiteral("Connected to Corvane")};
    return {QColor(255, 0, 0), QStringLiteral("Not connected to Corvane")};
}
