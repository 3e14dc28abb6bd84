#include "cli/monitor/LineOutput.h"

void LineOutput::SetHeader(const std::string& header) {
    if (startsEmpty_) beforeFirstLine_ = header;
}
