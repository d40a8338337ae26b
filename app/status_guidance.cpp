// The two guidance tables and the status-bar operations.
#include "app/status_guidance.h"

#include <iterator>

#include "platform/platform.h"
#include "render/view_state.h"

namespace {

// Guidance of the five top-level menus, by position.
const char* const popupTexts[] = {
    "Menu Fichier", "Menu Affichage", "Menu Modèle", "Menu Texture", "Menu Aide",
};

struct CommandGuidance {
    int id;
    const char* text;
};

// Guidance of every menu item, by command id.
const CommandGuidance commandTexts[] = {
    {201, "Pour ouvrir un nouveau modèle."},
    {202, "Pour sauvegarder le modèle actuel."},
    {203, "Pour quitter l'application."},
    {211, "Pour afficher les axes ( Ox:rouge Oy:vert  Oz:bleu )."},
    {212, "Pour afficher les sommets."},
    {213, "Pour afficher les arêtes."},
    {214, "Pour afficher les faces."},
    {215, "Pour afficher les normales des faces."},
    {216, "Pour afficher toutes les bordures."},
    {217, "Pour afficher uniquement la frontière."},
    {218, "Pour afficher le plan (u,v)."},
    {219, "Pour afficher la texture."},
    {220, "Pour afficher le modèle texturé."},
    {221, "Pour afficher avec transparence."},
    {222, "Pour afficher avec animation."},
    {223, "Pour revenir aux conditions initiales d'affichage."},
    {241, "Pour découper un sommet."},
    {242, "Pour découper une arête (parfois deux)."},
    {243, "Pour découper une face (suppression)."},
    {244, "Pour faire une itération de subdivision de C. Loop."},
    {245, "Pour avoir la composition du modèle actuel."},
    {261, "Pour charger une nouvelle image servant de texture."},
    {262, "Une autre couleur unie pour le modèle non texturé."},
    {281, "Pour avoir de l'aide."},
    {282, "Pour voir l'aide html en ligne."},
    {283, "A propos ..."},
};

} // namespace

const char* popupGuidanceText(int position)
{
    if (position < 0 || position >= static_cast<int>(std::size(popupTexts)))
        return nullptr;
    return popupTexts[position];
}

const char* commandGuidanceText(int id)
{
    for (const CommandGuidance& g : commandTexts)
        if (g.id == id)
            return g.text;
    return nullptr;
}

void setStatusText(const std::string& text) { platformSetStatusText(text); }

void showPopupGuidance(int position)
{
    cursorTracked = false;
    if (const char* text = popupGuidanceText(position))
        setStatusText(text);
}

void showCommandGuidance(int id)
{
    cursorTracked = false;
    if (const char* text = commandGuidanceText(id))
        setStatusText(text);
}
