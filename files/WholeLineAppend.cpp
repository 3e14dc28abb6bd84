#include "files/WholeLineAppend.h"

#include <chrono>
#include <thread>

bool EndsInsideALine(const std::string& name) {
    long long size = 0;
    char last = '\n';
    if (!LastByte(name, size, last) || last == '\n') return false;
    // A line another program appends at this moment may show its first part before its end:
    // the system grows the file page by page. Only a file whose end stays put lacks a line end.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    long long later = 0;
    return LastByte(name, later, last) && later == size && last != '\n';
}
