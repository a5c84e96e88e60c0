#pragma once

#include <QString>

typedef struct _UMockdevTestbed UMockdevTestbed;

// A simulated device tree for one test: while it lives, libudev in this process sees only the
// devices added to it, never the machine's own. It needs umockdev's preload library in the
// process from its start; ctest gives it to the programs that use this.
class UdevTestbed {
public:
    UdevTestbed();
    ~UdevTestbed();
    UdevTestbed(const UdevTestbed&) = delete;
    UdevTestbed& operator=(const UdevTestbed&) = delete;

    // Adds the devices described in tests/data/devices/<name>.umockdev; a test failure when
    // the description cannot be read.
    bool add(const QString& name);

private:
    UMockdevTestbed* testbed_;
};
