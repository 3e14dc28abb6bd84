#pragma once
// Where the monitor's lines go: standard output, or a file that is appended to and never
// truncated. Each line leaves the program whole, in one write, before the next is read; a line
// that cannot be written whole is taken back out of a file, so no half line stays behind.
// Lines end in a bare line feed on Windows too: the bytes go out as they are.
#include <string>

// Standard output and standard error pass the program's UTF-8 bytes as they are on Windows too:
// a line ends in a bare line feed, not the CR LF the C library would write, and a console shows
// the text as UTF-8 (the degree sign among it).
void StandardStreamsAsOnLinux();

class LineOutput {
public:
    // "-" is standard output; any other name a file, created when missing. On failure the
    // output is not open and error() says why.
    explicit LineOutput(const std::string& name);
    ~LineOutput();
    LineOutput(const LineOutput&) = delete;
    LineOutput& operator=(const LineOutput&) = delete;

    bool IsOpen() const;
    const std::string& Error() const { return error_; }
    // A header goes out with the first line, to standard output or to a file that holds
    // nothing yet; a file that already holds lines keeps the one at its top.
    void SetHeader(const std::string& header);
    // Writes the line whole; false, with error() set, when it could not. The first line starts
    // on a line of its own when the file's last line has no line end.
    bool Write(const std::string& line);

private:
    // Windows writes through a HANDLE, the others through a file descriptor.
#ifdef _WIN32
    void* handle_ = nullptr;  // the file's HANDLE, or standard output's
#else
    int fd_ = -1;
#endif
    bool ownsFd_ = false;
    bool regularFile_ = false;
    bool startsEmpty_ = true;
    std::string beforeFirstLine_;  // a header, or the line end the file's last line lacks
    std::string name_;
    std::string error_;
};
