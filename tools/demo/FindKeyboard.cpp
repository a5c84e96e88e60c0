// Tells by its exit status whether a Halda keyboard is attached, by the same test Halda runs
// when it starts: 0 when one is, 1 when none is. It prints nothing, so that scripts can ask.
#include "shell/HidDevice.h"

int main() {
    return CHidDevice().findKeyboard() ? 0 : 1;
}
