// How an operation of the core ended. The core never shows a box or ends the
// process: it returns one of these codes, and the application decides whether
// the user sees an information box, an error box or the fatal box (or, on the
// command line, a message on standard error and an exit status). Each code
// has its French text in the one table below.
#pragma once

// X(code, text): every outcome with the words the user reads for it.
#define VORMELIN_OUTCOMES(X)                                                                                              \
    X(outcomeOk, "")                                                                                                      \
    X(outcomeFaultyModel, "Fichier modèle erroné")                                                                        \
    X(outcomeFaceError, "Une face est erronée")                                                                           \
    X(outcomeEdgeMemory, "Problème de mémoire pour les arêtes")                                                           \
    X(outcomeEdgeError, "Une arête est erronée")                                                                          \
    X(outcomeLoopError, "La topologie du modèle n'est pas admissible.")                                                   \
    X(outcomeImpossibleModel, "Modèle impossible")                                                                        \
    X(outcomeTooLargeModel, "Modèle trop grand pour être subdivisé")                                                      \
    X(outcomeSubdivisionMemory, "Mémoire insuffisante pour la subdivision")                                               \
    X(outcomeNoOpening, "Le modèle n'a pas d'ouverture.\n\nLa paramétrisation est impossible.\n\n"                        \
          "Les affichages de la frontière, du plan (u,v)\n et du modèle texturé avec une image\n ne sont pas possibles.") \
    X(outcomeDisconnected, "Paramétrisation impossible : \n\nle modèle a plusieurs parties disjointes.")                  \
    X(outcomeDegenerate, "Paramétrisation impossible : \n\nle modèle a un triangle dégénéré\n"                            \
          "(un côté de longueur nulle ou trois sommets alignés).")                                                        \
    X(outcomeUnsolved, "Paramétrisation impossible : \n\nles coordonnées (u,v) n'ont pas pu être calculées\n"             \
          "(le système linéaire n'a pas pu être résolu).")                                                                \
    X(outcomeGmresSize, "MGMRES_ST - Fatal error :  N < MR !")                                                            \
    X(outcomeVerySingular, "Pb dans ijasolve() :\nVery singular matrix.\n\n")                                             \
    X(outcomeTooManyIterations, "Pb dans ijasolve() :\nToo many iterations.\n\n")                                         \
    X(outcomeTextureUnopened, "Ouverture impossible de la texture")                                                       \
    X(outcomeTextureSize, "L'image de texture doit être de taille 256x256")                                               \
    X(outcomeTextureNotRgb, "L'image doit être de type RGB")                                                              \
    X(outcomeEmptyModel, "Le modèle n'a plus aucune face : il n'est pas archivé.")                                       \
    X(outcomeNoMemory, "Mémoire insuffisante")                                                                            \
    X(outcomeWriteFailed, "n'a pas pu être écrit : le modèle n'est pas archivé.")                                       \
    X(outcomeNothingCut, "Rien n'a été découpé : l'élément choisi ne peut pas être découpé.")                             \
    X(outcomeSecondEdgeMissing, "Rien n'a été découpé : cette arête attend une seconde arête\n"                            \
          "(une seconde option --cut-edge juste après).")                                                                 \
    X(outcomeNothingToUndo, "Aucune découpe à annuler : l'annulation suit immédiatement une découpe.")                    \
    X(outcomeFileNotWritten, "n'a pas pu être écrit.")                                                                    \
    X(outcomeNoOffscreenView, "Aucun contexte OpenGL hors écran : l'image ne peut pas être calculée.")                    \
    X(outcomeTextureCorrupt, "L'image de texture est illisible (fichier JPEG endommagé ou d'un autre type)")

#define VORMELIN_OUTCOME_CODE(code, text) code,
enum Outcome { VORMELIN_OUTCOMES(VORMELIN_OUTCOME_CODE) };
#undef VORMELIN_OUTCOME_CODE

// The French text of an outcome (empty for outcomeOk and unknown codes).
const char* outcomeText(Outcome outcome);
