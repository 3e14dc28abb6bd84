// The windows program answers "no display" only when no platform Qt would try can reach one.
#include "app/NoDisplay.h"

#include <gtest/gtest.h>

TEST(NoDisplay, AnswersOnlyWhenNoPlatformCanReachADisplay) {
    const struct { const char *platform, *display, *wayland; bool answers; } rows[] = {
        {"", "", "", true},           {"", ":0", "", false},          {"", "", "wayland-0", false},
        {"xcb", "", "wayland-0", true}, {"xcb:nograb", ":1", "", false}, {"wayland", ":1", "", true},
        {"wayland;xcb", ":1", "", false}, {"offscreen", "", "", false},  {"vnc:size=800x600", "", "", false},
    };
    for (const auto& row : rows) {
        QProcessEnvironment environment;
        if (*row.platform) environment.insert("QT_QPA_PLATFORM", row.platform);
        environment.insert("DISPLAY", row.display);
        environment.insert("WAYLAND_DISPLAY", row.wayland);
        const QString answer = NoDisplayAnswer(environment);
        EXPECT_EQ(!answer.isEmpty(), row.answers) << row.platform << "|" << row.display << "|" << row.wayland;
        EXPECT_TRUE(answer.isEmpty() || answer.contains("kts9320b-cli works without one")) << answer.toStdString();
    }
}
