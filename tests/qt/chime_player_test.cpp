// The built-in chime: unknown sounds and a machine without audio stay silent.
#include "platform/qt/chime_player.h"

#include <gtest/gtest.h>

#include "ui/test_resources.h"

namespace qv {
namespace {

TEST(ChimePlayer, PlaysOnlyBuiltInSoundsAndSaysNothingWithoutAudio) {
    ChimePlayer player(test::HostResources());
    EXPECT_EQ(player.Play(u"IDW_NO_SUCH_SOUND"), ChimePlayer::Result::NoSuchSound);
    EXPECT_EQ(player.Play(u""), ChimePlayer::Result::NoSuchSound);

    testing::internal::CaptureStderr();
    const bool audio = AudioOutputPresent();
    const ChimePlayer::Result result = player.Play(u"IDW_TIME_ADDED");
    const ChimePlayer::Result again = player.Play(u"IDW_TIME_ADDED");
    const std::string said = testing::internal::GetCapturedStderr();
    if (audio) {
        EXPECT_EQ(result, ChimePlayer::Result::Started);
        EXPECT_EQ(again, ChimePlayer::Result::Started);
    } else {
        EXPECT_EQ(result, ChimePlayer::Result::NoAudioOutput);
        EXPECT_EQ(again, ChimePlayer::Result::NoAudioOutput);
        EXPECT_EQ(said, "");
    }
}

}  // namespace
}  // namespace qv
