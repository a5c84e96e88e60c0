#include "platform/HidDevices.h"

#include "support/QtPrinting.h"
#include "support/UdevTestbed.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::Eq;
using ::testing::Optional;

namespace {
QString pathFor(const char* vidPid, const char* node) {
    return QStringLiteral("\\\\?\\hid#%1#%2#{4d1e55b2-f16f-11cf-88cb-001111000030}")
        .arg(QLatin1String(vidPid), QLatin1String(node));
}
}  // namespace

TEST(HidDevices, NoDevicesGiveAnEmptyList) {
    UdevTestbed testbed;
    const HidDevices::Listing listing = HidDevices::presentInterfaces();
    EXPECT_EQ(listing.error, 0);
    EXPECT_TRUE(listing.paths.isEmpty());
}

TEST(HidDevices, EachInterfaceOfAKeyboardHasItsOwnPath) {
    UdevTestbed testbed;
    ASSERT_TRUE(testbed.add(QStringLiteral("halda-keyboard")));
    const HidDevices::Listing listing = HidDevices::presentInterfaces();
    EXPECT_EQ(listing.error, 0);
    EXPECT_THAT(listing.paths, ElementsAre(Optional(pathFor("vid_1c7e&pid_3b61", "hidraw0")),
                                           Optional(pathFor("vid_1c7e&pid_3b61", "hidraw1")),
                                           Optional(pathFor("vid_1c7e&pid_3b61", "hidraw2"))));
}

TEST(HidDevices, IdentitiesInEitherCaseGiveTheSamePathForm) {
    UdevTestbed testbed;
    ASSERT_TRUE(testbed.add(QStringLiteral("lower-case-id-keyboard")));
    ASSERT_TRUE(testbed.add(QStringLiteral("second-model-keyboard")));
    EXPECT_THAT(HidDevices::presentInterfaces().paths,
                ElementsAre(Optional(pathFor("vid_1c7e&pid_3b61", "hidraw4")),
                            Optional(pathFor("vid_2f3a&pid_6e12", "hidraw3"))));
}

// Without a HID parent, without HID_ID, with two fields or with non-hexadecimal fields, a node
// keeps its place in the list but has no path.
TEST(HidDevices, NodesWithoutAReadableIdentityHaveNoPath) {
    UdevTestbed testbed;
    ASSERT_TRUE(testbed.add(QStringLiteral("unreadable-nodes")));
    ASSERT_TRUE(testbed.add(QStringLiteral("second-model-keyboard")));
    EXPECT_THAT(HidDevices::presentInterfaces().paths,
                ElementsAre(Eq(std::nullopt), Eq(std::nullopt), Eq(std::nullopt),
                            Optional(pathFor("vid_2f3a&pid_6e12", "hidraw3")), Eq(std::nullopt)));
}
