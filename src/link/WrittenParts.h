// What a writing operation has put into the instrument so far, in words for the user.
#pragma once

#include "link/SerialLink.h"

#include <QList>
#include <QString>

// The parts an operation writes, in the order it writes them: single parts ("the
// settings") and numbered runs ("display configurations" 1..16). The operation marks
// each part as begun and as written; when the link is lost or the user cancels,
// describe() says what the instrument now holds: "The settings and display
// configurations 1 to 5 were written; display configuration 6 may be incomplete;
// display configurations 7 to 16 and the sender curves were not."
//
// Given the link, a part counts as written only when the instrument confirmed every
// byte of it; one with unconfirmed bytes may be incomplete, and one cut off before
// the instrument confirmed any of its bytes was not written.
class WrittenParts
{
public:
    explicit WrittenParts(const SerialLink *link = nullptr) : m_link(link) {}

    // A single part ("the settings" is plural, "the product code" is not); returns its handle.
    int add(const QString &name, bool plural = false);
    // A numbered run: "display configuration" / "display configurations" with the
    // numbers in the order they are written; returns its handle.
    int add(const QString &singular, const QString &plural, const QList<int> &numbers);

    void begin(int part, int number = 0);
    void written(int part, int number = 0);

    QString describe() const;
    // The lost link's reason followed by what was and was not written.
    LinkLost lost(const LinkLost &reason) const;

private:
    enum class State { Written, Incomplete, NotWritten };
    struct Part {
        QString singular, plural;
        QList<int> numbers;
        QList<int> done;       // every byte confirmed
        QList<int> incomplete; // sent, some bytes unconfirmed
        int begun = -1;        // the number begun and not yet written (0 for a single part)
        SerialLink::Traffic begunAt;
        bool many = false;
        bool numbered = false; // a numbered run with nothing to write says nothing
    };
    // What the part begun and never finished left in the instrument.
    State begunState(const Part &p) const;
    const SerialLink *m_link = nullptr;
    QList<Part> m_parts;
};
