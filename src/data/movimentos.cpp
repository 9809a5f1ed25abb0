#include "data/movimentos.h"

#include "data/clubes.h"
#include "data/estado.h"

namespace gv {

void Mudar_Clube_Jogador(long valor, const std::string& pos, const std::string& nome, int idade, int forca,
                         const std::string& de, const std::string& para, long long rowid) {
    auto& d = base_aberta();
    if (rowid != 0) {
        int n = d.Execute("UPDATE jogadores SET pos = ?, nome = ?, idade = ?, forca = ?, preco = ?, equipa = ? "
                          "WHERE rowid = ?",
                          {pos, nome, idade, forca, valor, para, rowid});
        if (n != 1) throw db::Erro_BD(db::ERRO_SEM_REGISTO, "O jogador " + nome + " já não existe");
    } else {
        d.Execute("INSERT INTO jogadores (pos, nome, idade, forca, preco, equipa, contrato) VALUES (?, ?, ?, ?, ?, ?, ?)",
                  {pos, nome, idade, forca, valor, para, idade < 30 ? 4 : 1});
    }
    const std::string rota = "(" + std::to_string(Divisao_Clube(de)) + ") " + de + " -> " + para + " (" +
                             std::to_string(Divisao_Clube(para)) + ")";
    Registar_Transferencia_Clubes(idade, pos, nome, forca, rota, valor);
    d.Execute("UPDATE Melhores_Marcadores_Sempre SET equipa = ? WHERE nome = ? AND equipa = ? AND pos = ? AND idade = ?",
              {para, nome, de, pos, idade});
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
