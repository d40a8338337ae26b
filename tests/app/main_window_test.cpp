// The main window's reactions: resizing, keys, menu highlighting, idle frames, its end.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/menu_commands.h"
#include "tests/app/app_fixture.h"

namespace {

using MainWindowTest = AppTest;

TEST_F(MainWindowTest, ResizeKeepsTheSizeAndFollowsTheMinimisedState)
{
    layoutChildren(resizeRestored, 800, 500);
    EXPECT_EQ(clientWidth, 800);
    EXPECT_EQ(clientHeight, 500);
    EXPECT_TRUE(renderActive);
    layoutChildren(resizeMinimized, 0, 0);
    EXPECT_FALSE(renderActive);
    layoutChildren(resizeMaximized, 1024, 700);
    EXPECT_TRUE(renderActive);
    layoutChildren(resizeHidden, 1024, 700);
    EXPECT_FALSE(renderActive);
    layoutChildren(resizeRestored, 640, 600);
    EXPECT_TRUE(renderActive);
}

TEST_F(MainWindowTest, EscapeEndsWithZeroAndOtherKeysDoNothing)
{
    for (int k = 0; k < platformKeyCount; ++k)
        if (k != keyEscape)
            onMainKeyDown(static_cast<PlatformKey>(k));
    EXPECT_TRUE(scriptQuits.empty());
    onMainKeyDown(keyEscape);
    ASSERT_EQ(scriptQuits.size(), 1u);
    EXPECT_EQ(scriptQuits[0], 0);
}

TEST_F(MainWindowTest, MenuHighlightShowsGuidanceUntilTrackingEnds)
{
    setStatusText(defaultStatusText);
    currentView.cursorTracked = true;
    onMenuHighlight(true, 2);
    EXPECT_EQ(scriptStatusText, "Menu Modèle");
    EXPECT_FALSE(currentView.cursorTracked);
    onMenuHighlight(false, 243);
    EXPECT_EQ(scriptStatusText, "Pour découper une face (suppression).");
    onMenuHighlight(false, 0); // a separator
    EXPECT_EQ(scriptStatusText, "Pour découper une face (suppression).");
    onMenuTrackingEnd();
    EXPECT_EQ(scriptStatusText, "Ici votre guidage ...");
}

TEST_F(MainWindowTest, IdleDrawsOnlyWhileTheWindowCanBeSeen)
{
    useGl();
    setClosedCube();
    onIdle();
    onIdle();
    EXPECT_EQ(scriptPresentCount, 2);
    layoutChildren(resizeMinimized, 0, 0);
    onIdle();
    EXPECT_EQ(scriptPresentCount, 2);
    layoutChildren(resizeRestored, 640, 600);
    onIdle();
    EXPECT_EQ(scriptPresentCount, 3);
}

TEST_F(MainWindowTest, EndOfTheWindowReleasesTheModelAndEndsWithZero)
{
    setClosedCube();
    onMainWindowDestroyed();
    EXPECT_FALSE(currentModel.modelLoaded);
    EXPECT_EQ(currentModel.faceCount, 0);
    EXPECT_FALSE(renderActive);
    ASSERT_EQ(scriptQuits.size(), 1u);
    EXPECT_EQ(scriptQuits[0], 0);
}

} // namespace
