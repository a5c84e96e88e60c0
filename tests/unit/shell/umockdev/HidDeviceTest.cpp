#include "shell/HidDevice.h"

#include "support/QtPrinting.h"
#include "support/UdevTestbed.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {
const char* const Found = "Success:Found Ostra device";
const char* const Unreadable = "Error: SetupDiGetInterfaceDeviceDetail failed";

QStringList* traces = nullptr;

void recordTrace(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtDebugMsg && qstrcmp(context.category, "halda.hid") == 0)
        traces->append(text);
}

// Records the check's diagnostics; they are written only when asked for.
class TraceRecorder {
public:
    explicit TraceRecorder(bool askForTraces = true) {
        traces = &recorded;
        if (askForTraces)
            QLoggingCategory::setFilterRules(QStringLiteral("halda.hid.debug=true"));
        previous_ = qInstallMessageHandler(recordTrace);
    }
    ~TraceRecorder() {
        qInstallMessageHandler(previous_);
        QLoggingCategory::setFilterRules({});
        traces = nullptr;
    }
    QStringList recorded;

private:
    QtMessageHandler previous_;
};

struct Attached {
    const char* name;
    std::vector<const char*> descriptions;  // added in this order; udev lists by sysfs path
    bool found;
    std::vector<const char*> traces;
};

// Device paths sort as: halda-keyboard (three interfaces), lower-case-id-keyboard,
// near-misses, unreadable-nodes (four nodes), second-model-keyboard, one more unreadable node.
const Attached attachedCases[] = {
    {"Nothing", {}, false, {}},
    {"FirstModelAtItsFirstInterfaceOnly", {"halda-keyboard"}, true, {Found}},
    {"IdentityInLowerCase", {"lower-case-id-keyboard"}, true, {Found}},
    {"SecondModel", {"second-model-keyboard"}, true, {Found}},
    {"VendorAloneOrOnePairsVendorWithTheOthersProduct", {"near-misses"}, false, {}},
    {"NearMissesBeforeAKeyboard", {"near-misses", "second-model-keyboard"}, true, {Found}},
    {"UnreadableNodesOnly",
     {"unreadable-nodes"},
     false,
     {Unreadable, Unreadable, Unreadable, Unreadable}},
    {"UnreadableNodesBeforeAKeyboard",
     {"unreadable-nodes", "second-model-keyboard"},
     true,
     {Unreadable, Unreadable, Unreadable, Found}},
    {"KeyboardBeforeUnreadableNodesWhichAreNotLookedAt",
     {"unreadable-nodes", "halda-keyboard"},
     true,
     {Found}},
};

void PrintTo(const Attached& attached, std::ostream* out) {
    *out << attached.name;
}

class HidDeviceAttached : public ::testing::TestWithParam<Attached> {};
}  // namespace

TEST_P(HidDeviceAttached, FindsAKeyboardAtTheFirstMatchingInterface) {
    const Attached& attached = GetParam();
    UdevTestbed testbed;
    for (const char* description : attached.descriptions)
        ASSERT_TRUE(testbed.add(QString::fromLatin1(description)));
    TraceRecorder recorder;

    EXPECT_EQ(CHidDevice().findKeyboard(), attached.found) << attached.name;
    QStringList expectedTraces;
    for (const char* trace : attached.traces)
        expectedTraces.append(QString::fromLatin1(trace));
    EXPECT_EQ(recorder.recorded, expectedTraces) << attached.name;
}

INSTANTIATE_TEST_SUITE_P(Devices, HidDeviceAttached, ::testing::ValuesIn(attachedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HidDevice, WritesNoDiagnosticsUnlessAskedTo) {
    UdevTestbed testbed;
    ASSERT_TRUE(testbed.add(QStringLiteral("unreadable-nodes")));
    ASSERT_TRUE(testbed.add(QStringLiteral("halda-keyboard")));
    TraceRecorder recorder(false);
    EXPECT_TRUE(CHidDevice().findKeyboard());
    EXPECT_TRUE(recorder.recorded.isEmpty());
}
