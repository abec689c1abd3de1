#pragma once
// Dial-up networking as the internet connection uses it: the connection entries, the
// connections that are up, dialling and hanging up. Names are UTF-8 entry names. Implementations:
// PppdBackend (pppd with its peer files); tests use a fake. User-interface thread only.
#include <functional>
#include <string>
#include <vector>

class DialupBackend {
public:
    // The result of a dial: 0 when the connection is up, else the dialler's error number.
    using DialDone = std::function<void(int code)>;

    virtual ~DialupBackend() = default;

    // True when dial-up networking can be used; otherwise reason says why (Korean).
    virtual bool installed(std::string& reason) = 0;
    virtual std::vector<std::string> entries() = 0;
    // Every connection that is up, including those of other programs.
    virtual std::vector<std::string> activeConnections() = 0;
    // True while the connection of entry name is up.
    virtual bool connectStatus(const std::string& name) = 0;
    // Starts dialling; done is called later from the event loop, never from inside dial.
    virtual void dial(const std::string& name, DialDone done) = 0;
    // Ends the connection (or a dial in progress) of entry name.
    virtual void hangUp(const std::string& name) = 0;
    // The reason for a dial's error number, for the status line.
    virtual std::string errorText(int code) = 0;
    // The file that holds the entry's settings; "" when there is none.
    virtual std::string entryFile(const std::string& name) = 0;
    // The folder of the entries' files.
    virtual std::string entriesFolder() = 0;
};

// An entry name that may be dialled: not empty, no "/", not starting with "-" or ".", no
// control characters or spaces (the name is one argument of the dialling commands).
bool isPlainEntryName(const std::string& name);
