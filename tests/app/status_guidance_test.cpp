// The guidance tables and the status-bar operations.
#include <gtest/gtest.h>

#include "app/menu_commands.h"
#include "app/menu_commands.h"
#include "tests/support/platform_script.h"
#include "render/view_state.h"

namespace {

class StatusGuidanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        initViewState();
        scriptReset();
    }
};

TEST_F(StatusGuidanceTest, TopLevelMenusShowTheirNames)
{
    const char* expected[] = {"Menu Fichier", "Menu Affichage", "Menu Modèle", "Menu Texture", "Menu Aide"};
    for (int position = 0; position < 5; ++position) {
        currentView.cursorTracked = true;
        showPopupGuidance(position);
        EXPECT_EQ(scriptStatusText, expected[position]);
        EXPECT_FALSE(currentView.cursorTracked);
    }
}

TEST_F(StatusGuidanceTest, UnknownPositionKeepsTextButStillStopsTracking)
{
    setStatusText("avant");
    currentView.cursorTracked = true;
    showPopupGuidance(5);
    showPopupGuidance(-1);
    EXPECT_EQ(scriptStatusText, "avant");
    EXPECT_FALSE(currentView.cursorTracked);
}

TEST_F(StatusGuidanceTest, ItemTextsAreExact)
{
    showCommandGuidance(244);
    EXPECT_EQ(scriptStatusText, "Pour faire une itération de subdivision de C. Loop.");
    showCommandGuidance(211);
    EXPECT_EQ(scriptStatusText, "Pour afficher les axes ( Ox:rouge Oy:vert  Oz:bleu ).");
    showCommandGuidance(242);
    EXPECT_EQ(scriptStatusText, "Pour découper une arête (parfois deux).");
    showCommandGuidance(262);
    EXPECT_EQ(scriptStatusText, "Une autre couleur unie pour le modèle non texturé.");
    showCommandGuidance(283);
    EXPECT_EQ(scriptStatusText, "A propos ...");
    showPopupGuidance(3);
    EXPECT_EQ(scriptStatusText, "Menu Texture");
}

TEST_F(StatusGuidanceTest, SeparatorAndUnknownIdsLeaveTheText)
{
    showCommandGuidance(223);
    currentView.cursorTracked = true;
    showCommandGuidance(0);
    showCommandGuidance(204);
    showCommandGuidance(65535);
    EXPECT_EQ(scriptStatusText, "Pour revenir aux conditions initiales d'affichage.");
    EXPECT_FALSE(currentView.cursorTracked);
}

TEST_F(StatusGuidanceTest, EveryMenuItemHasGuidanceAndNothingElseHas)
{
    int items = 0;
    for (const PlatformMenuEntry& entry : menuTable) {
        if (entry.kind == menuItem) {
            ++items;
            EXPECT_NE(commandGuidanceText(entry.id), nullptr) << entry.label;
        }
    }
    EXPECT_EQ(items, 26);
    int guided = 0;
    for (int id = 0; id < 1000; ++id)
        guided += commandGuidanceText(id) != nullptr;
    EXPECT_EQ(guided, items);
}

} // namespace
