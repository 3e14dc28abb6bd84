#pragma once
// The recall of a saved configuration as both programs run it: the checks on the file before
// anything is written, the writes into the chip in file order, and the messages the user sees.
#include "files/SavRecallParser.h"

#include <QString>

class QFile;

namespace GeneralStuff {

// Opens the file for reading once it passes the checks (a regular file, not far larger than a
// saved configuration). Gives the message for a file that cannot be recalled, or an empty text.
QString OpenForRecall(QFile& file);
// Writes the registers of the open file into the chip at DeviceAddress.
SavRecallResult RecallIntoChip(QFile& file);
// "No registers were written.", "1 register was written.", "14 registers were written."
QString RegistersWrittenText(int count);
// The message after a recall that did not find a whole block; an empty text after one that did.
QString RecallProblemText(const SavRecallResult& result, const QString& fileName);

}  // namespace GeneralStuff
