#pragma once
// How many copies of the program are running. Each copy holds a lock on a slot file of its own
// in a private folder, so a copy that is killed stops counting at once (the system drops its
// lock); taking a slot and counting happen under one folder-wide lock, so two copies starting
// together count 1 and 2.
#include <string>

class InstanceCounter {
public:
    // Takes a slot in `folder`, which is made (mode 0700) when missing. A folder that is not a
    // directory of ours closed to others is not used: the copy then counts as the only one.
    explicit InstanceCounter(const std::string& folder = DefaultFolder());
    ~InstanceCounter();  // gives the slot back
    InstanceCounter(const InstanceCounter&) = delete;
    InstanceCounter& operator=(const InstanceCounter&) = delete;

    // Copies running when this one started, itself included.
    int CountAtStart() const { return countAtStart_; }
    // Another copy was running when this one started.
    bool SecondInstance() const { return countAtStart_ > 1; }
    // Copies holding a slot now, this one included.
    int Count() const;
    // Why the folder could not be used ("" when it could).
    const std::string& Error() const { return error_; }

    // $XDG_RUNTIME_DIR/quilite, or /tmp/quilite-<uid> when that is not set.
    static std::string DefaultFolder();

private:
    int lockFolder() const;
    void takeSlot();

    std::string folder_;
    std::string error_;
    int slotFd_ = -1;
    int countAtStart_ = 1;
};
