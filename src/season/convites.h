#pragma once
// Job offers at a season's end, when the manager's contract has run out:
// usually a renewal by his own club and offers from clubs whose standing
// follows how well his club did.

#include <string>
#include <vector>

namespace gv {

struct Convite {
    std::string clube;
    int epocas = 1;          // the contract offered, 1 to 3 seasons
    std::string linha;       // the line the list shows (fixed-pitch columns)
};

// One offer for that club with a contract drawn from 1 to 3 seasons;
// nothing for a blank name.
void Inserir(std::vector<Convite>& lista, const std::string& clube);
// The line of an offer: "(n Épocas) " or "(n Years)  ", the club padded to
// 25 characters, its division and place.
std::string Linha_Convite(const std::string& clube, int epocas);

// The offers by the division and final place of the manager's club, in the
// order they are listed. Should no club at all be found, the manager's own
// club renews him, so that a choice always exists.
std::vector<Convite> Equipas_Convite();

// Takes the offer: a renewal sets the contract and the coach performance;
// another club also resets the season's money to a fresh 2,000,000, caps
// the new club's players (and their active all-time scorer rows) at age 33,
// adds a season to their contracts and clears the transfer log.
void Actualizar_Equipa_Treinador(const Convite& escolhido);

} // namespace gv
