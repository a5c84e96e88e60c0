// Reads one registry value file in a loop until its parent closes our stdin, and reports how
// many reads were neither of the two whole contents the parent writes.
#include <poll.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {
bool isWhole(const std::string& bytes, char fill, std::size_t size) {
    if (bytes.size() != size + 4 || bytes.compare(0, 4, std::string("\x03\0\0\0", 4)) != 0)
        return false;
    return bytes.find_first_not_of(fill, 4) == std::string::npos;
}

bool parentStillWriting() {
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    return ::poll(&fd, 1, 0) == 0;  // readable means EOF: the parent is done
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 4)
        return 2;
    const std::size_t sizeA = std::strtoul(argv[2], nullptr, 10);
    const std::size_t sizeB = std::strtoul(argv[3], nullptr, 10);
    long reads = 0, torn = 0;
    do {
        std::ifstream in(argv[1], std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        ++reads;
        if (!isWhole(bytes, 'a', sizeA) && !isWhole(bytes, 'b', sizeB))
            ++torn;
    } while (parentStillWriting());
    std::printf("torn=%ld reads=%ld\n", torn, reads);
    return torn == 0 ? 0 : 1;
}
