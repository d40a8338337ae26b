// The loop's question after each frame, against the scripted platform's
// presents: an idle view stops drawing, while anything that moves it (a held
// key or button, the animation) keeps it drawing, and the last change a frame
// made is still shown by one more frame.
#include <gtest/gtest.h>

#include "app/frame_demand.h"
#include "tests/app/app_fixture.h"

namespace {

class FrameDemandTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        useGl();
        setClosedCube();
    }
    // The desktop loop after an event: one frame, then more while the picture
    // asks for them, at most limit in all. Returns the frames drawn.
    static int framesAfterAnEvent(int limit = 50)
    {
        int frames = 0;
        do {
            onIdle();
            ++frames;
        } while (frames < limit && pictureNeedsFrame());
        return frames;
    }
    // The loop with no event at all: a frame only when the picture asks for one.
    static void idleTurns(int turns)
    {
        for (int i = 0; i < turns; ++i)
            if (pictureNeedsFrame())
                onIdle();
    }
};

TEST_F(FrameDemandTest, AnIdleViewStopsDrawingAndAHeldKeyStartsItAgain)
{
    EXPECT_LE(framesAfterAnEvent(), 3);
    int presents = scriptPresentCount;
    idleTurns(20);
    EXPECT_EQ(scriptPresentCount, presents);

    // A held arrow key: every turn draws, each frame one step nearer.
    scriptKeys[keyUp] = true;
    idleTurns(20);
    EXPECT_EQ(scriptPresentCount, presents + 20);
    EXPECT_LT(currentView.cameraDistance, 3.0);
    EXPECT_EQ(framesAfterAnEvent(), 50);

    // Let go (an event): the frame that shows the last step, then nothing.
    scriptKeys[keyUp] = false;
    framesAfterAnEvent();
    presents = scriptPresentCount;
    const double distance = currentView.cameraDistance;
    idleTurns(20);
    EXPECT_EQ(scriptPresentCount, presents);
    EXPECT_EQ(currentView.cameraDistance, distance);
}

TEST_F(FrameDemandTest, AKeyTappedForOneFrameHasItsStepShown)
{
    framesAfterAnEvent();
    // The keys move the camera after the frame has placed it: the step a tap
    // made shows only in the frame after, which must still come.
    scriptKeys[keyD] = true;
    onIdle();
    scriptKeys[keyD] = false;
    const int presents = scriptPresentCount;
    idleTurns(20);
    EXPECT_EQ(scriptPresentCount, presents + 1);
}

TEST_F(FrameDemandTest, TheAnimationAndADragKeepDrawing)
{
    framesAfterAnEvent();
    currentView.withAnimation = true;
    EXPECT_EQ(framesAfterAnEvent(), 50);
    currentView.withAnimation = false;
    framesAfterAnEvent();

    // A button held turns the view with the cursor, wherever it goes meanwhile.
    scriptKeys[keyLeftButton] = true;
    EXPECT_EQ(framesAfterAnEvent(), 50);
    scriptKeys[keyLeftButton] = false;
    EXPECT_LE(framesAfterAnEvent(), 2);
}

TEST_F(FrameDemandTest, AChangeMadeAtTheEndOfAFrameGetsOneMore)
{
    framesAfterAnEvent();
    // Only the axes shown: the frame switches transparency on as it ends.
    currentView.showFaces = false;
    currentView.showAxes = true;
    onIdle();
    ASSERT_TRUE(currentView.withTransparency);
    const int presents = scriptPresentCount;
    idleTurns(20);
    EXPECT_EQ(scriptPresentCount, presents + 1);
}

} // namespace
