// Average time to save and to load a configuration file.
#pragma once

struct FileTimes {
    bool ok = false;
    double saveSeconds = 0;
    double loadSeconds = 0;
    int rounds = 0;
    long long bytes = 0;
};

FileTimes measureFileTimes(int rounds);
