#pragma once
// Turning a finished season into the next one, all or nothing.

#include "season/convites.h"

namespace gv {

// Whether the manager's contract runs out at this season end (it is
// counted down by one season as the season changes): he must then take
// one of the offers.
bool Contrato_Termina();

enum class Resultado_Mudanca {
    Feita,        // saved; the new season is ready at matchday 1
    Sem_Escolha,  // the contract ended and no offer was taken: nothing done
    Falhada,      // undone and reported; the season can be changed again
};

// The whole season change in one transaction: winners recorded, contract
// counted down, taxes, stadium upkeep and prizes, histories, the job
// (escolhido, when the contract ended), promotions and relegations, the
// new season's calendar and cup draw, every player's year, veterans and
// ended contracts, computer squads, all-time scorers, prices and wages.
// Announcements are shown once the change is saved. On any failure the
// database and the season state in memory stay as they were and the
// person is told.
Resultado_Mudanca Mudar_Epoca(const Convite* escolhido);

// All-time scorers' upkeep: of the retired, only the 101 with most goals
// stay once there are more than 110; an active row whose player no longer
// plays under that name, position, club and age is closed with the season
// just ended.
void Actualizar_DB_Melhores_Marcadores();

} // namespace gv
