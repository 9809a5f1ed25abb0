#include "data/liga.h"

#include <vector>

#include "data/estado.h"
#include "platform/aleatorio.h"
#include "platform/interface_utilizador.h"
#include "platform/texto.h"

namespace gv {

void Reiniciar_Epoca() {
    auto& d = base_aberta();
    d.Execute("DELETE FROM jogos");
    d.Execute("UPDATE clubes SET pontos = 0, jogos = 0, v = 0, d = 0, e = 0, g_mar = 0, g_suf = 0, taca = ''");
}

void Gerar_Calendario(int div) {
    auto& d = base_aberta();
    std::vector<std::string> clubes;
    auto rs = d.OpenRecordset("SELECT clube FROM clubes WHERE div = ? ORDER BY clube", {div});
    for (; !rs.Eof(); rs.MoveNext()) clubes.push_back(rs["clube"].texto());
    auto modelo = d.OpenRecordset("SELECT jor, casa, fora FROM jor_aux ORDER BY jor, rowid");
    for (; !modelo.Eof(); modelo.MoveNext()) {
        int h = modelo["casa"].int32(), a = modelo["fora"].int32();
        if (h < 1 || a < 1 || h > static_cast<int>(clubes.size()) || a > static_cast<int>(clubes.size()))
            throw db::Erro_BD(db::ERRO_SEM_REGISTO, "A divisão " + std::to_string(div) + " tem " +
                                                        std::to_string(clubes.size()) +
                                                        " clubes e o calendário pede o lugar " +
                                                        std::to_string(std::max(h, a)));
        d.Execute("INSERT INTO jogos (jor, div, casa, fora) VALUES (?, ?, ?, ?)",
                  {modelo["jor"].int32(), div, clubes[h - 1], clubes[a - 1]});
    }
}

void Sortear_Jogos_Taca() {
    const std::string vencedor = Sortear_Jogos_Taca_Sem_Aviso();
    if (!vencedor.empty()) Anunciar_Vencedor_Taca(vencedor);
}

std::string Completar_Sorteio_Taca() {
    auto& d = base_aberta();
    if (d.valor("SELECT count(*) FROM jogos_taca WHERE trim(coalesce(resul, '')) <> ''").int32() == 0) return {};
    db::Transaccao t(d);
    std::string vencedor = Sortear_Jogos_Taca_Sem_Aviso();
    t.commit();
    return vencedor;
}

void Anunciar_Vencedor_Taca(const std::string& vencedor) {
    ui().aviso(std::string(txt("Clube vencedor da Taça: ", "Cup winner: ")) + maiusculas(vencedor), Icone::Informacao);
}

std::string Sortear_Jogos_Taca_Sem_Aviso() {
    auto& d = base_aberta();
    d.Execute("DELETE FROM jogos_taca");
    const std::string espera = "SELECT clube FROM clubes_taca_qualif ORDER BY rowid";
    // A count that fails must stop the draw, not leave a round without ties.
    const int n = d.valor("SELECT count(*) FROM clubes_taca_qualif").int32();
    if (n == 1) {
        auto rs = d.OpenRecordset(espera);
        Vencedor_Taca = rs["clube"].texto();
        return Vencedor_Taca;
    }
    // Each pick is uniform among the clubs still waiting, in the table's
    // order; a picked club leaves the table, so none is drawn twice. The
    // waiting clubs are read once and the picked rows go when the draw ends.
    struct Espera {
        long long id;
        std::string clube;
    };
    std::vector<Espera> fila;
    d.percorrer("SELECT rowid, clube FROM clubes_taca_qualif ORDER BY rowid", {},
                [&](const db::Linha_Lida& r) { fila.push_back({r.inteiro(0), r.texto(1)}); });
    std::vector<long long> tirados;
    auto tirar = [&]() {
        Randomize();
        const int m = static_cast<int>(fila.size());
        const int k = Int(Rnd() * m);
        if (k < 0 || k >= m) throw db::Erro_BD(db::ERRO_SEM_REGISTO, "Não há clubes por sortear para a Taça");
        const auto it = fila.begin() + k;
        std::string clube = std::move(it->clube);
        tirados.push_back(it->id);
        fila.erase(it);
        return clube;
    };
    for (int k = 1; k <= n / 2; ++k) {
        std::string casa = tirar();
        std::string fora = tirar();
        d.Execute("INSERT INTO jogos_taca (casa, fora) VALUES (?, ?)", {casa, fora});
    }
    if (fila.empty()) d.Execute("DELETE FROM clubes_taca_qualif");
    else
        for (long long id : tirados) d.Execute("DELETE FROM clubes_taca_qualif WHERE rowid = ?", {id});
    return {};
}

} // namespace gv
