#pragma once
// Ce qu'une vue doit savoir des changements d'un magasin de lignes, avant et après chacun.
class ObservateurStock {
public:
    virtual ~ObservateurStock() = default;
    virtual void avantAjout(int premiere, int derniere) = 0;
    virtual void apresAjout() = 0;
    virtual void avantRetrait(int premiere, int derniere) = 0;
    virtual void apresRetrait() = 0;
    virtual void ligneChangee(int ligne) = 0;
    // Les lignes changent d'ordre (tri) sans qu'aucune ne soit ajoutée ni retirée.
    virtual void avantReorganisation() {}
    virtual void apresReorganisation() {}
};
