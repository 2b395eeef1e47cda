// The built-in chime: unknown sounds and a machine without audio stay silent.
#include "platform/qt/chime_player.h"

#include <gtest/gtest.h>

#include "ui/test_resources.h"

namespace qv {
namespace {

TEST(ChimePlayer, PlaysOnlyBuiltInSoundsAndSaysNothingWithoutAudio) {
    ChimePlayer player(test::HostResources());
    EXPECT_EQ(player.Play(u"IDW_NO_SUCH_SOUND"), ChimePlayer::Result::NoSuchSound);

    testing::internal::CaptureStderr();
    const auto want =
        AudioOutputPresent() ? ChimePlayer::Result::Started : ChimePlayer::Result::NoAudioOutput;
    EXPECT_EQ(player.Play(u"IDW_TIME_ADDED"), want);
    EXPECT_EQ(player.Play(u"IDW_TIME_ADDED"), want);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(want == ChimePlayer::Result::Started || said.empty()) << said;  // silent
}

}  // namespace
}  // namespace qv
