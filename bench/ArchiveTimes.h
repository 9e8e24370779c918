// Instrument archive timings: recording an entry, listing a large archive, an
// instrument's log, and comparing two entries.
#pragma once

#include <QString>

struct ArchiveTimes {
    bool ok = false;
    QString error;
    int entries = 0;
    int instruments = 0;
    double buildSeconds = 0;     // writing the large archive (not a target)
    double recordSeconds = 0;    // one entry recorded into the large archive, average
    double recordCpuSeconds = 0; // the processor time of it (the wall time waits for the disk too)
    double listSeconds = 0;      // every instrument of the large archive
    double logSeconds = 0;       // one instrument's entries with the fields changed
    double compareSeconds = 0;   // two entries of one instrument
};

ArchiveTimes measureArchiveTimes(int entries, int instruments, int records);
