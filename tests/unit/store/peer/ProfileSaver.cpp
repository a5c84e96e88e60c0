// The second process of the save crash test: saves the whole configuration in a loop until
// it is killed, each time with other content.
//
//   profile_saver <application folder> <first round>
//
// Round n stores, in every 32-bit word of the macro and combination images, in the value
// of every key (AssignMacro) and in the report rate, the number n; the current profile is
// n % 7, so all seven profile files are rewritten in turn. "ready" goes to standard output
// once the first save is complete.
#include "model/CombTable.h"
#include "model/KeyTable.h"
#include "model/MacroTable.h"
#include "platform/LittleEndian.h"
#include "platform/Paths.h"
#include "store/ProfileFiles.h"
#include "store/SettingsStore.h"

#include <QCoreApplication>

#include <cstdio>
#include <span>

namespace {
void fillWords(std::span<std::uint8_t> image, std::int32_t value) {
    for (std::size_t at = 0; at + 4 <= image.size(); at += 4)
        le::writeI32(image, at, value);
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 3)
        return 2;
    Paths::setExecutableDirectoryForTesting(QString::fromLocal8Bit(argv[1]));
    const std::int32_t first = std::atoi(argv[2]);

    KeyTable::LayoutCodes layout{};
    for (std::size_t i = 0; i < layout.size(); ++i)
        layout[i] = std::uint8_t(20 + i);
    ProfileFiles profiles;
    profiles.setTexts(QStringLiteral("Profile"), QStringLiteral("Profiles"));
    profiles.setLayoutCodes(layout);
    SettingsStore store;
    store.setLayoutCodes(layout);
    store.setProfiles(&profiles);

    for (std::int32_t round = first;; ++round) {
        for (std::uint8_t code : layout)
            KeyTable::instance().entry(code) = {code, AssignMacro, round};
        fillWords(MacroTable::image(), round);
        fillWords(CombTable::image(), round);
        store.reportRate = round;
        store.profileSelection = round % ProfileFiles::ProfileCount;
        store.saveAll(SettingsStore::NoticeEdit);
        if (round == first) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
