// The store's array rules and the message boxes' exact texts.
#include <gtest/gtest.h>

#include "app/messages.h"
#include "app/session.h"
#include "tests/support/platform_script.h"

namespace {

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        currentModel = Mesh();
        scriptReset();
    }
};

TEST_F(StoreTest, GrowKeepsOldEntriesAndZeroesNewOnes)
{
    std::vector<int> a;
    allocIntArray(a, 3);
    a[0] = 7, a[1] = 8, a[2] = 9;
    growIntArray(a, 3, 5);
    EXPECT_EQ(a, (std::vector<int>{7, 8, 9, 0, 0}));
    // Entries past oldCount are zeroed even when the array held values there.
    growIntArray(a, 2, 6);
    EXPECT_EQ(a, (std::vector<int>{7, 8, 0, 0, 0, 0}));
    growIntArray(a, 6, 6);
    EXPECT_EQ(a.size(), 6u);

    std::vector<double> d;
    allocDoubleArray(d, 2);
    d[1] = 1.5;
    growDoubleArray(d, 2, 4);
    EXPECT_EQ(d, (std::vector<double>{0.0, 1.5, 0.0, 0.0}));
}

TEST_F(StoreTest, ErrorAndInfoBoxesCarryTheirPrefixAndCaption)
{
    showError("Modèle impossible");
    showInfo("Bonjour");
    ASSERT_EQ(scriptBoxes.size(), 2u);
    EXPECT_EQ(scriptBoxes[0].caption, "Vormelin 0.35");
    EXPECT_EQ(scriptBoxes[0].text, "ERREUR  !!!\n\nModèle impossible");
    EXPECT_EQ(scriptBoxes[0].icon, iconInformation);
    EXPECT_EQ(scriptBoxes[1].text, "Bonjour");
    EXPECT_EQ(scriptBoxes[1].icon, iconNone);
}

TEST_F(StoreTest, FatalErrorShowsBoxReleasesModelAndEndsWith255)
{
    EXPECT_EXIT(
        {
            allocDoubleArray(currentModel.vertexX, 3);
            currentModel.vertexCount = 3;
            currentModel.modelLoaded = true;
            platformExitHook = [](int status) {
                // The box was shown and the model released before the end.
                bool ok = scriptBoxes.size() == 1 &&
                          scriptBoxes[0].text ==
                              "Erreur irrémédiable\n\nL'application va se terminer\n\nFichier modèle erroné" &&
                          currentModel.vertexCount == 0 && !currentModel.modelLoaded;
                std::_Exit(ok ? status : 1);
            };
            fatalError("Fichier modèle erroné");
        },
        ::testing::ExitedWithCode(255), "");
}

} // namespace
