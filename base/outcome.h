// How an operation of the core ended. The core never shows a box or ends the
// process: it returns one of these codes, and the application decides whether
// the user sees an information box, an error box or the fatal box (or, on the
// command line, a message on standard error and an exit status). Each code
// has its severity and its French text in the one table below.
#pragma once

// How an outcome reaches the user: the end of a command that did what it was
// asked; a notice about the model, which is no fault (an information
// box); a refusal in its own words (an error box); a failure of an edit whose
// result could not be built, told after the command's name ("<what> n'est pas
// possible : <text>"). Opening a model with no model shown yet makes any of
// them fatal.
enum OutcomeSeverity { severityDone, severityNotice, severityRefusal, severityFailure };

// X(code, severity, text): every outcome with how it reaches the user and the words the user reads for it.
#define VORMELIN_OUTCOMES(X)                                                                                              \
    X(outcomeOk, severityDone, "")                                                                                    \
    X(outcomeFaultyModel, severityRefusal, "Fichier modèle erroné")                                                   \
    X(outcomeFaceError, severityFailure, "Une face est erronée")                                                      \
    X(outcomeEdgeMemory, severityFailure, "Problème de mémoire pour les arêtes")                                      \
    X(outcomeEdgeError, severityFailure, "Une arête est erronée")                                                     \
    X(outcomeLoopError, severityFailure, "La topologie du modèle n'est pas admissible.")                              \
    X(outcomeImpossibleModel, severityRefusal, "Modèle impossible")                                                   \
    X(outcomeTooLargeModel, severityRefusal, "Modèle trop grand pour être subdivisé")                                 \
    X(outcomeSubdivisionMemory, severityRefusal, "Mémoire insuffisante pour la subdivision")                          \
    X(outcomeNoOpening, severityNotice, "Le modèle n'a pas d'ouverture.\n\nLa paramétrisation est impossible.\n\n"    \
          "Les affichages de la frontière, du plan (u,v)\n et du modèle texturé avec une image\n ne sont pas possibles.") \
    X(outcomeDisconnected, severityNotice, "Paramétrisation impossible : \n\nle modèle a plusieurs parties disjointes.") \
    X(outcomeDegenerate, severityNotice, "Paramétrisation impossible : \n\nle modèle a un triangle dégénéré\n"        \
          "(un côté de longueur nulle ou trois sommets alignés).")                                                        \
    X(outcomeUnsolved, severityNotice, "Paramétrisation impossible : \n\nles coordonnées (u,v) n'ont pas pu être calculées\n" \
          "(le système linéaire n'a pas pu être résolu).")                                                                \
    X(outcomeGmresSize, severityFailure, "MGMRES_ST - Fatal error :  N < MR !")                                       \
    X(outcomeVerySingular, severityFailure, "Pb dans ijasolve() :\nVery singular matrix.\n\n")                        \
    X(outcomeTooManyIterations, severityFailure, "Pb dans ijasolve() :\nToo many iterations.\n\n")                    \
    X(outcomeTextureUnopened, severityRefusal, "Ouverture impossible de la texture")                                  \
    X(outcomeTextureSize, severityRefusal, "L'image de texture doit être de taille 256x256")                          \
    X(outcomeTextureNotRgb, severityRefusal, "L'image doit être de type RGB")                                         \
    X(outcomeEmptyModel, severityRefusal, "Le modèle n'a plus aucune face : il n'est pas archivé.")                   \
    X(outcomeNoMemory, severityFailure, "Mémoire insuffisante")                                                       \
    X(outcomeWriteFailed, severityRefusal, "n'a pas pu être écrit : le modèle n'est pas archivé.")                    \
    X(outcomeNothingCut, severityRefusal, "Rien n'a été découpé : l'élément choisi ne peut pas être découpé.")        \
    X(outcomeSecondEdgeMissing, severityRefusal, "Rien n'a été découpé : cette arête attend une seconde arête\n"      \
          "(une seconde option --cut-edge juste après).")                                                                 \
    X(outcomeNothingToUndo, severityRefusal, "Aucune découpe à annuler : l'annulation suit immédiatement une découpe.") \
    X(outcomeFileNotWritten, severityRefusal, "n'a pas pu être écrit.")                                               \
    X(outcomeNoOffscreenView, severityRefusal, "Aucun contexte OpenGL hors écran : l'image ne peut pas être calculée.") \
    X(outcomeTextureCorrupt, severityRefusal, "L'image de texture est illisible (fichier JPEG endommagé ou d'un autre type)")

#define VORMELIN_OUTCOME_CODE(code, severity, text) code,
enum Outcome { VORMELIN_OUTCOMES(VORMELIN_OUTCOME_CODE) };
#undef VORMELIN_OUTCOME_CODE

// The French text of an outcome (empty for outcomeOk and unknown codes).
const char* outcomeText(Outcome outcome);
// How the outcome reaches the user (severityRefusal for unknown codes).
OutcomeSeverity outcomeSeverity(Outcome outcome);
