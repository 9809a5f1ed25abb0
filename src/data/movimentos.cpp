#include "data/movimentos.h"

#include "data/clubes.h"
#include "data/estado.h"

namespace gv {

void Desfazer_Mudanca::desfazer() {
    while (!passos_.empty()) {
        auto passo = std::move(passos_.back());
        passos_.pop_back();
        passo();
    }
}

void Mudar_Clube_Jogador(long valor, const std::string& pos, const std::string& nome, int idade, int forca,
                         const std::string& de, const std::string& para, long long rowid, Desfazer_Mudanca* desfazer) {
    auto& d = base_aberta();
    if (rowid != 0) {
        db::Parametros antes;
        if (desfazer) {
            auto rs = d.OpenRecordset("SELECT pos, nome, idade, forca, preco, equipa FROM jogadores WHERE rowid = ?",
                                      {rowid});
            if (!rs.Eof())
                for (const char* c : {"pos", "nome", "idade", "forca", "preco", "equipa"}) antes.push_back(rs[c]);
        }
        int n = d.Execute("UPDATE jogadores SET pos = ?, nome = ?, idade = ?, forca = ?, preco = ?, equipa = ? "
                          "WHERE rowid = ?",
                          {pos, nome, idade, forca, valor, para, rowid});
        if (n != 1) throw db::Erro_BD(db::ERRO_SEM_REGISTO, "O jogador " + nome + " já não existe");
        if (desfazer) {
            antes.push_back(rowid);
            desfazer->registar([&d, antes] {
                d.Execute("UPDATE jogadores SET pos = ?, nome = ?, idade = ?, forca = ?, preco = ?, equipa = ? "
                          "WHERE rowid = ?",
                          antes);
            });
        }
    } else {
        d.Execute("INSERT INTO jogadores (pos, nome, idade, forca, preco, equipa, contrato) VALUES (?, ?, ?, ?, ?, ?, ?)",
                  {pos, nome, idade, forca, valor, para, idade < 30 ? 4 : 1});
        if (desfazer)
            desfazer->registar([&d, id = d.ultimo_rowid()] { d.Execute("DELETE FROM jogadores WHERE rowid = ?", {id}); });
    }
    const std::string rota = "(" + std::to_string(Divisao_Clube(de)) + ") " + de + " -> " + para + " (" +
                             std::to_string(Divisao_Clube(para)) + ")";
    Registar_Transferencia_Clubes(idade, pos, nome, forca, rota, valor);
    if (desfazer)
        desfazer->registar(
            [&d, id = d.ultimo_rowid()] { d.Execute("DELETE FROM transferencias_clubes WHERE rowid = ?", {id}); });
    // The rows the club name matches keep their own spelling, to be put back.
    std::vector<std::pair<long long, db::Valor>> marcadores;
    if (desfazer)
        d.percorrer("SELECT rowid, equipa FROM Melhores_Marcadores_Sempre WHERE nome = ? AND equipa = ? AND pos = ? "
                    "AND idade = ?",
                    {nome, de, pos, idade},
                    [&](const db::Linha_Lida& r) { marcadores.emplace_back(r.inteiro(0), db::Valor(r.texto(1))); });
    d.Execute("UPDATE Melhores_Marcadores_Sempre SET equipa = ? WHERE nome = ? AND equipa = ? AND pos = ? AND idade = ?",
              {para, nome, de, pos, idade});
    if (desfazer && !marcadores.empty())
        desfazer->registar([&d, marcadores] {
            for (const auto& [id, equipa] : marcadores)
                d.Execute("UPDATE Melhores_Marcadores_Sempre SET equipa = ? WHERE rowid = ?", {equipa, id});
        });
}

void Registar_Transferencia(int idade, const std::string& pos, const std::string& nome, int forca,
                            const std::string& tipo, long valor) {
    base_aberta().Execute("INSERT INTO transferencias (Epoca, Jornada, pos, nome, forca, Tipo, valor, idade) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                   {Epoca_Actual, Jornada_Actual, pos, nome, forca, tipo, valor, idade});
}

void Registar_Transferencia_Clubes(int idade, const std::string& pos, const std::string& nome, int forca,
                                   const std::string& tipo, long valor) {
    base_aberta().Execute("INSERT INTO transferencias_clubes (jornada, pos, nome, forca, tipo, valor, idade) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?)",
                   {Jornada_Actual, pos, nome, forca, tipo, valor, idade});
}

void Inserir_Ultimos_Venc(const std::string& equipa, const std::string& tipo, const std::string& nome, long num) {
    base_aberta().Execute("INSERT INTO ultimos_venc (Epoca, equipa, Tipo, nome, num) VALUES (?, ?, ?, ?, ?)",
                   {Epoca_Actual, equipa, tipo, nome, num});
}

} // namespace gv
