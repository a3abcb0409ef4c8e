// The mouse stays reachable: identification after writes and resets on every layout, the
// read-back after each write, a forced reset for a mouse left half-written, and the sweep of
// one lost report over whole writes.
#include "DeviceTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orlix;
using namespace orlix::device;
using namespace orlix::device::testing;

namespace {

struct EditionCase {
    const char* folder;
    Edition edition;
};
constexpr EditionCase kEditions[] = {{"orlix-editor", Edition::Editor},
                                     {"orlix-editor-s", Edition::EditorS}};

std::vector<std::uint8_t> resourceOf(const char* folder, std::uint8_t dataType) {
    auto bytes = defaultResource(folder);
    bytes[image::kDataType] = dataType;
    return bytes;
}

std::array<std::uint8_t, 256> imageOf(const std::vector<std::uint8_t>& resource) {
    std::array<std::uint8_t, 256> image{};
    std::copy_n(resource.begin(), 256, image.begin());
    return image;
}

std::array<std::uint8_t, 256> storedImage(const SimulatedMouse& mouse) {
    std::array<std::uint8_t, 256> image{};
    std::copy_n(mouse.memory().begin() + protocol::kImageAddress, kImageSize, image.begin());
    return image;
}

// Another program start against the same mouse: a fresh rig whose mouse holds `mouse`'s
// memory.
std::unique_ptr<Rig> restart(const Rig& rig) {
    auto next = std::make_unique<Rig>(rig.mouse.settings(), rig.resourceBytes, rig.config.edition);
    std::copy(rig.mouse.memory().begin(), rig.mouse.memory().end(), next->mouse.memory().begin());
    return next;
}

IdentifyResult identifyAgain(const Rig& rig) {
    auto next = restart(rig);
    EXPECT_TRUE(next->open());
    return next->session.identify().result;
}

} // namespace

TEST(IdentityFallback, DefaultImageMacroMouseIsFoundAt6053WithTwoMoreFrames) {
    for (const auto& e : kEditions) {
        SCOPED_TRACE(e.folder);
        const auto resource = defaultResource(e.folder);
        Rig rig(SimulatedMouse::macroMouse(imageOf(resource)), resource, e.edition);
        // Factory memory is the edition's default image, byte for byte.
        EXPECT_EQ(storedImage(rig.mouse), imageOf(resource));
        ASSERT_TRUE(rig.open());
        rig.mouse.recordFrames(true);
        const Identification id = rig.session.identify();
        EXPECT_EQ(id.result, IdentifyResult::Accepted);
        EXPECT_FALSE(id.forced);
        const auto frames = frameTexts(rig.mouse);
        ASSERT_EQ(frames.size(), 12u);
        EXPECT_EQ(frames[8], "set 40 0E 60 57 00 06 00 00");
        EXPECT_EQ(frames[10], "set 40 0E 60 53 00 06 00 00");
        EXPECT_EQ(frames[11].substr(0, 15), "get 41 FF FF 00");
        ASSERT_TRUE(id.fallbackIdentity);
        EXPECT_EQ((*id.fallbackIdentity)[0], 0xFF);
        EXPECT_TRUE(rig.mouse.violations().empty());
    }
}

TEST(IdentityFallback, NoSecondLookForLayout3AOrABasicMouse) {
    // Layout 0x3A keeps the code at 87..88, read at 0x6057: a mismatch there is final.
    auto resource = resourceOf("orlix-editor", 0x3A);
    auto image = imageOf(resource);
    image[87] = 0x12;
    Rig rig(SimulatedMouse::macroMouse(image), resource);
    ASSERT_TRUE(rig.open());
    rig.mouse.recordFrames(true);
    const auto id = rig.session.identify();
    EXPECT_EQ(id.result, IdentifyResult::IdentityError);
    EXPECT_FALSE(id.fallbackIdentity);
    EXPECT_EQ(countFrames(rig.mouse), 10u);

    // A basic mouse of layout 0x1D with a wrong code at 0x6053 is not looked at elsewhere.
    auto basic = defaultImage();
    basic[83] = 0x00;
    Rig b(SimulatedMouse::basicMouse(basic));
    ASSERT_TRUE(b.open());
    b.mouse.recordFrames(true);
    EXPECT_EQ(b.session.identify().result, IdentifyResult::IdentityError);
    EXPECT_EQ(countFrames(b.mouse), 8u);
}

TEST(IdentityFallback, ResetAndWriteThenIdentifyOnBothEditionsLayoutsAndKinds) {
    for (const auto& e : kEditions) {
        for (std::uint8_t type : {std::uint8_t{0x1D}, std::uint8_t{0x3A}}) {
            for (bool macro : {false, true}) {
                SCOPED_TRACE(std::string(e.folder) + (type == 0x1D ? " 1D" : " 3A") +
                             (macro ? " macro" : " basic"));
                const auto resource = resourceOf(e.folder, type);
                const auto image = imageOf(resource);
                Rig rig(macro ? SimulatedMouse::macroMouse(image)
                              : SimulatedMouse::basicMouse(image),
                        resource, e.edition);
                rig.openIdentifyRead();
                const auto reset = rig.session.resetToDefaults(rig.resourceBytes, rig.texts);
                ASSERT_EQ(reset.result, TransferResult::Done);
                EXPECT_EQ(identifyAgain(rig), IdentifyResult::Accepted);

                ASSERT_TRUE(rig.config.setAssignment(0, 4, "09010000"));
                rig.config.page.resolution.reportRate = 1000;
                ASSERT_EQ(rig.session.writeAll(rig.texts).result, TransferResult::Done);
                EXPECT_EQ(identifyAgain(rig), IdentifyResult::Accepted);
                EXPECT_TRUE(rig.mouse.violations().empty()) << rig.mouse.violations().front();
            }
        }
    }
}

TEST(IdentityFallback, ProfileReadFromABasicMouseWrittenToAMacroMouse) {
    const auto path = std::filesystem::path(ORLIX_TEST_SCRATCH) / "basic-profile.bin";
    std::filesystem::create_directories(path.parent_path());
    Rig basic(SimulatedMouse::basicMouse(defaultImage()));
    basic.openIdentifyRead();
    ASSERT_TRUE(basic.config.saveProfile(path, basic.texts));

    Rig macro(SimulatedMouse::macroMouse(defaultImage()));
    macro.openIdentifyRead();
    ASSERT_TRUE(macro.config.loadProfile(path, macro.texts));
    ASSERT_EQ(macro.session.writeAll(macro.texts).result, TransferResult::Done);
    EXPECT_EQ(identifyAgain(macro), IdentifyResult::Accepted);
}

TEST(IdentityFallback, ForceAcceptsAMouseWhoseCodeMatchesNowhere) {
    auto image = defaultImage();
    image[83] = 0x12;
    image[84] = 0x34;
    Rig rig(SimulatedMouse::macroMouse(image));
    ASSERT_TRUE(rig.open());
    EXPECT_EQ(rig.session.identify().result, IdentifyResult::IdentityError);
    EXPECT_FALSE(rig.link.isOpen());

    ASSERT_TRUE(rig.open());
    const auto id = rig.session.identify(true);
    EXPECT_EQ(id.result, IdentifyResult::Accepted);
    EXPECT_TRUE(id.forced);
    ASSERT_TRUE(rig.session.readAll(rig.texts));
    ASSERT_EQ(rig.session.resetToDefaults(rig.resourceBytes, rig.texts).result,
              TransferResult::Done);
    EXPECT_EQ(identifyAgain(rig), IdentifyResult::Accepted);

    // A data-type mismatch is not forced: the image would be placed in another layout.
    auto settings = SimulatedMouse::basicMouse(defaultImage());
    settings.dataType = 0x3A;
    Rig other(settings);
    ASSERT_TRUE(other.open());
    EXPECT_EQ(other.session.identify(true).result, IdentifyResult::DataTypeError);
}

TEST(IdentityFallback, LostAnswerAtTheFlashRegisterIsNotAnotherFlash) {
    Rig rig(SimulatedMouse::macroMouse(defaultImage()));
    ASSERT_TRUE(rig.open());
    rig.mouse.failReport(rig.mouse.reportCount() + 7); // the answer of register 0x0008
    const auto id = rig.session.identify();
    EXPECT_EQ(id.result, IdentifyResult::Silent);
    EXPECT_EQ(id.silent, SilentExit::NoAnswer);
    EXPECT_EQ(id.flashType, 0);
    EXPECT_TRUE(rig.link.isOpen());
    // Asked again, it answers.
    EXPECT_EQ(rig.session.identify().result, IdentifyResult::Accepted);
}

TEST(WriteBack, AnImageThatReadsBackDifferentIsWrittenOnceMore) {
    Rig rig(SimulatedMouse::basicMouse(defaultImage()));
    rig.openIdentifyRead();
    ASSERT_TRUE(rig.config.setAssignment(0, 4, "09010000"));
    // The 5th data report of the image is lost: every later piece lands 7 bytes early.
    rig.mouse.failReport(rig.mouse.reportCount() + 5);
    const auto out = rig.session.writeAll(rig.texts);
    EXPECT_EQ(out.result, TransferResult::Done);
    EXPECT_EQ(out.attempts, 2);
    EXPECT_TRUE(out.verified);
    EXPECT_EQ(out.failedReports, 1u);
    EXPECT_EQ(out.reports, 2 * (reports::kWriteBasic + reports::kVerify) + 1);
    EXPECT_EQ(storedImage(rig.mouse), rig.config.working);
    EXPECT_EQ(rig.mouse.reloads(), std::vector<std::uint8_t>{0x19});
}

// A report that succeeds while the mouse stores other bytes shows only in the read-back: such
// a write is caught and sent again; the same fault in both attempts is a failure.
TEST(WriteBack, ABitFlippedByTheMouseIsCaughtByTheReadBackAndRewritten) {
    struct Case {
        const char* name;
        bool macro;
        std::uint64_t piece; // data report of the image block (1..37)
        bool bothAttempts;   // the second attempt flips the same piece
    };
    const Case cases[] = {
        {"basic, first piece", false, 1, false},    {"basic, last piece", false, 37, false},
        {"macro, a middle piece", true, 19, false}, {"basic, both attempts", false, 5, true},
        {"macro, both attempts", true, 30, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.macro ? SimulatedMouse::macroMouse(defaultImage())
                        : SimulatedMouse::basicMouse(defaultImage()));
        rig.openIdentifyRead();
        ASSERT_TRUE(rig.config.setAssignment(0, 4, "09010000"));
        const std::uint64_t erases = c.macro ? 10 : 0;
        const std::uint64_t attempt =
            (c.macro ? reports::kWriteMacro : reports::kWriteBasic) + reports::kVerify;
        const std::uint64_t first = rig.mouse.reportCount() + erases + c.piece;
        rig.mouse.flipBitInReport(first);
        if (c.bothAttempts) rig.mouse.flipBitInReport(first + attempt);
        const auto out = rig.session.writeAll(rig.texts);
        EXPECT_EQ(out.failedReports, 0u); // every report succeeded
        EXPECT_EQ(out.attempts, 2);
        if (c.bothAttempts) {
            EXPECT_EQ(out.result, TransferResult::Interrupted);
            EXPECT_FALSE(out.verified);
            EXPECT_TRUE(rig.mouse.reloads().empty());
        } else {
            EXPECT_EQ(out.result, TransferResult::Done);
            EXPECT_TRUE(out.verified);
            EXPECT_EQ(storedImage(rig.mouse), rig.config.working);
            EXPECT_EQ(rig.mouse.reloads().size(), 1u);
        }
        EXPECT_TRUE(rig.mouse.violations().empty());
    }
}

TEST(WriteBack, TwoDifferentReadBacksAreAFailureWithoutReload) {
    Rig rig(SimulatedMouse::basicMouse(defaultImage()));
    rig.openIdentifyRead();
    const std::uint64_t start = rig.mouse.reportCount();
    const std::uint64_t attempt = reports::kWriteBasic + reports::kVerify;
    rig.mouse.failReport(start + 5);
    rig.mouse.failReport(start + attempt + 5);
    ASSERT_TRUE(rig.config.setAssignment(0, 4, "09010000"));
    const auto out = rig.session.writeAll(rig.texts);
    EXPECT_EQ(out.result, TransferResult::Interrupted);
    EXPECT_EQ(out.attempts, 2);
    EXPECT_FALSE(out.verified);
    EXPECT_FALSE(out.reloadFailed);
    EXPECT_TRUE(rig.mouse.reloads().empty());
}

TEST(WriteBack, AFailedReloadIsToldApartFromAnIncompleteWrite) {
    Rig rig(SimulatedMouse::basicMouse(defaultImage()));
    rig.openIdentifyRead();
    rig.mouse.failReport(rig.mouse.reportCount() + reports::kWriteBasic + reports::kVerify);
    ASSERT_TRUE(rig.config.setAssignment(0, 4, "09010000"));
    const auto out = rig.session.writeAll(rig.texts);
    EXPECT_EQ(out.result, TransferResult::Interrupted);
    EXPECT_TRUE(out.verified);
    EXPECT_TRUE(out.reloadFailed);
    EXPECT_EQ(out.attempts, 1);
}

// One lost report at every position of a basic write and reset: the mouse ends holding the
// image that was written, and it identifies.
TEST(WriteBack, SweepOneLostReportOverEveryPositionOfABasicWriteAndReset) {
    for (bool reset : {false, true}) {
        const std::uint64_t length = reports::kWriteBasic + reports::kVerify + 2;
        for (std::uint64_t k = 0; k < length; ++k) {
            SCOPED_TRACE((reset ? "reset, report " : "write, report ") + std::to_string(k));
            Rig rig(SimulatedMouse::basicMouse(defaultImage()));
            rig.openIdentifyRead();
            ASSERT_TRUE(rig.config.setAssignment(0, 4, "09010000"));
            rig.config.page.resolution.reportRate = 1000; // the 03/18 tail is swept too
            rig.mouse.failReport(rig.mouse.reportCount() + k);
            const auto out = reset ? rig.session.resetToDefaults(rig.resourceBytes, rig.texts)
                                   : rig.session.writeAll(rig.texts);
            const auto& wanted = reset ? rig.config.defaults : rig.config.working;
            EXPECT_EQ(storedImage(rig.mouse), wanted);
            EXPECT_TRUE(out.verified);
            EXPECT_TRUE(out.result == TransferResult::Done || out.reloadFailed);
            EXPECT_EQ(identifyAgain(rig), IdentifyResult::Accepted);
        }
    }
}

// Sampled positions of a macro write and reset; a mouse that does not identify afterwards
// is brought back by at most one forced reset.
TEST(WriteBack, SweepOneLostReportOverSampledPositionsOfAMacroWriteAndReset) {
    const std::uint64_t length = reports::kWriteMacro + reports::kVerify + 1;
    std::vector<std::uint64_t> positions;
    for (std::uint64_t k = 0; k < 12; ++k)
        positions.push_back(k); // the erase commands and the image command
    for (std::uint64_t k = 12; k < length; k += 211)
        positions.push_back(k);
    for (std::uint64_t k = length - 40; k < length; ++k)
        positions.push_back(k); // the read-back and the reload
    for (bool reset : {false, true}) {
        for (std::uint64_t k : positions) {
            SCOPED_TRACE((reset ? "reset, report " : "write, report ") + std::to_string(k));
            Rig rig(SimulatedMouse::macroMouse(defaultImage()));
            rig.openIdentifyRead();
            rig.config.macroNames[3] = "Kept";
            rig.config.macros.bodies[3][0] = 0xA1;
            rig.config.macros.setBodyLength(3, 2);
            rig.mouse.failReport(rig.mouse.reportCount() + k);
            const auto out = reset ? rig.session.resetToDefaults(rig.resourceBytes, rig.texts)
                                   : rig.session.writeAll(rig.texts);
            EXPECT_TRUE(out.verified);
            int forced = 0;
            if (identifyAgain(rig) != IdentifyResult::Accepted) {
                auto again = restart(rig);
                ASSERT_TRUE(again->open());
                ASSERT_TRUE(again->session.identify(true).forced);
                ASSERT_TRUE(again->session.readAll(again->texts));
                ASSERT_TRUE(again->session.resetToDefaults(again->resourceBytes, again->texts));
                ++forced;
                EXPECT_EQ(identifyAgain(*again), IdentifyResult::Accepted);
            }
            EXPECT_LE(forced, 1);
            // The macro store went with the image that was verified.
            const auto& wanted = reset ? rig.config.defaults : rig.config.working;
            EXPECT_EQ(storedImage(rig.mouse), wanted);
        }
    }
}

TEST(RunningRate, TakenFromTheReadAndFromEachPairSent) {
    // The mouse runs at 500; a file with 1000 is loaded (no page was touched) and written.
    Rig rig(SimulatedMouse::basicMouse(defaultImage()));
    rig.openIdentifyRead();
    EXPECT_EQ(rig.session.runningReportRate(), std::optional<int>(500));
    rig.config.working[image::kSectionBStart + image::kReportRate] = 0x01;
    rig.config.working[image::kSectionBStart + image::kSectionBSize - 1] =
        static_cast<std::uint8_t>(
            rig.config.working[image::kSectionBStart + image::kSectionBSize - 1] ^ 0x03);
    rig.config.decode(rig.texts, true);
    ASSERT_TRUE(rig.session.writeAll(rig.texts));
    auto texts = frameTexts(rig.mouse);
    EXPECT_EQ(texts[texts.size() - 2], "set 40 03 00 01 00 00 00 00");
    EXPECT_EQ(texts.back(), "set 40 18 00 00 00 00 00 00");
    EXPECT_EQ(rig.mouse.runningReportRate(), 0x01);
    EXPECT_EQ(rig.session.runningReportRate(), std::optional<int>(1000));

    // Written again at the same rate (in full, as nothing changed): the plain reload.
    rig.mouse.clearFrames();
    ASSERT_TRUE(rig.session.writeAll(rig.texts, {}, {}, WriteMode::Full));
    EXPECT_EQ(frameText(rig.mouse.frames().back()), "set 40 19 00 00 00 00 00 00");

    // The page goes back to 500 and then to 1000 before the write: the mouse still runs
    // at 1000, so nothing needs switching.
    rig.config.page.resolution.reportRate = 500;
    rig.config.assemble(rig.texts, false); // a profile save assembles, too
    rig.config.page.resolution.reportRate = 1000;
    rig.mouse.clearFrames();
    ASSERT_TRUE(rig.session.writeAll(rig.texts, {}, {}, WriteMode::Full));
    EXPECT_EQ(frameText(rig.mouse.frames().back()), "set 40 19 00 00 00 00 00 00");
    EXPECT_EQ(rig.mouse.runningReportRate(), 0x01);
}

TEST(RunningRate, AFailedPairLeavesTheRateUnknownSoTheNextWriteSendsItAgain) {
    Rig rig(SimulatedMouse::basicMouse(defaultImage()));
    rig.openIdentifyRead();
    rig.config.page.resolution.reportRate = 1000;
    // The 0x18 of the pair fails.
    rig.mouse.failReport(rig.mouse.reportCount() + reports::kWriteBasic + reports::kVerify + 1);
    const auto out = rig.session.writeAll(rig.texts);
    EXPECT_TRUE(out.reloadFailed);
    EXPECT_FALSE(rig.session.runningRateCode());
    rig.mouse.clearFrames();
    ASSERT_TRUE(rig.session.writeAll(rig.texts));
    EXPECT_EQ(frameText(rig.mouse.frames().back()), "set 40 18 00 00 00 00 00 00");
    EXPECT_EQ(rig.mouse.runningReportRate(), 0x01);
}

TEST(NotRead, AnInterruptedReadRefusesWritesUntilAReadCompletes) {
    Rig rig(SimulatedMouse::macroMouse(defaultImage()));
    ASSERT_EQ(rig.openAndIdentify().result, IdentifyResult::Accepted);
    rig.mouse.failReport(rig.mouse.reportCount() + 300);
    EXPECT_EQ(rig.session.readAll(rig.texts, {}, ReadScope::Everything).result,
              TransferResult::Interrupted);
    EXPECT_TRUE(rig.session.needsRead());
    EXPECT_FALSE(rig.session.canTransfer());
    rig.mouse.clearFrames();
    auto out = rig.session.writeAll(rig.texts);
    EXPECT_EQ(out.result, TransferResult::NoDevice);
    EXPECT_TRUE(out.notRead);
    out = rig.session.resetToDefaults(rig.resourceBytes, rig.texts);
    EXPECT_TRUE(out.notRead);
    EXPECT_TRUE(rig.mouse.frames().empty()); // nothing reached the mouse

    ASSERT_TRUE(rig.session.readAll(rig.texts));
    EXPECT_FALSE(rig.session.needsRead());
    EXPECT_TRUE(rig.session.canTransfer());
}

TEST(Stall, ThreeFailedReportsInARowEndTheBlockAndTheSequence) {
    Rig rig(SimulatedMouse::basicMouse(defaultImage()));
    rig.openIdentifyRead();
    const std::uint64_t at = rig.mouse.reportCount() + 10;
    rig.mouse.failReport(at);
    rig.mouse.failReport(at + 1);
    // Two in a row: not yet a dead mouse.
    const auto two = rig.session.writeAll(rig.texts, {}, {}, WriteMode::Full);
    EXPECT_FALSE(two.stalled);
    EXPECT_EQ(two.result, TransferResult::Done);

    // Three in a row end the attempt after 13 reports; the whole write that follows finds
    // the mouse answering again.
    const std::uint64_t next = rig.mouse.reportCount() + 10;
    for (std::uint64_t i = 0; i < 3; ++i)
        rig.mouse.failReport(next + i);
    rig.mouse.clearFrames();
    const auto three = rig.session.writeAll(rig.texts, {}, {}, WriteMode::Full);
    EXPECT_EQ(three.result, TransferResult::Done);
    EXPECT_EQ(three.attempts, 2);
    EXPECT_EQ(three.reports, 13u + reports::kWriteBasic + reports::kVerify + 1);

    // A mouse that is gone: the whole write stops at its first failed command.
    rig.mouse.unplugAfterReports(rig.mouse.reportCount() + 10);
    rig.mouse.clearFrames();
    const auto gone = rig.session.writeAll(rig.texts, {}, {}, WriteMode::Full);
    EXPECT_EQ(gone.result, TransferResult::Interrupted);
    EXPECT_EQ(gone.reports, 13u + 1u);
    EXPECT_EQ(countFrames(rig.mouse), 14u);
    rig.mouse.plugIn();
    rig.mouse.unplugAfterReports(std::nullopt);
    ASSERT_TRUE(rig.open());
    ASSERT_EQ(rig.session.identify().result, IdentifyResult::Accepted);

    // The next sequence starts afresh.
    EXPECT_EQ(rig.session.readAll(rig.texts).result, TransferResult::Done);
}
