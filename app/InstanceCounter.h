#pragma once
// How many copies of the program are running. Each copy holds a lock on a slot file of its own
// in a private folder, so a copy that is killed stops counting at once (the system drops its
// lock); taking a slot and counting happen under one folder-wide lock, so two copies starting
// together count 1 and 2. A copy also keeps its window's top-left corner in its slot, so that a
// copy starting later does not put its window exactly over it.
#include <functional>
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
    // Keeps the top-left corner of this copy's window in its slot.
    void RecordWindowPosition(int x, int y);
    // Another running copy keeps exactly this top-left corner for its window.
    bool PositionTakenByOther(int x, int y) const;
    // Why the folder could not be used ("" when it could).
    const std::string& Error() const { return error_; }

    // $XDG_RUNTIME_DIR/quilite, or /tmp/quilite-<uid> when that is not set.
    static std::string DefaultFolder();

private:
    int lockFolder() const;
    void takeSlot();
    // Calls `held` with an open descriptor of each slot file that another copy's slot holds
    // (this copy's own slot counts as such, being locked by another open file).
    void forEachHeldSlot(const std::function<void(int slot, int fd)>& held) const;

    std::string folder_;
    std::string error_;
    int slot_ = -1;
    int slotFd_ = -1;
    int countAtStart_ = 1;
};
