#!/usr/bin/env python3
"""Writes the seed data text of the master database into data/seed/.

Every club, player and referee here is invented: the clubs are built from
made-up town names and the usual naming patterns of each country, the people
from common first names and surnames.  The output is deterministic (fixed
random seeds), so running this again gives the same files byte for byte.

    python3 tools/seed/gerar_sementes.py [seed folder]

Files written (tab-separated, UTF-8, LF, one header line):
    clubes_<cc>.tsv        clube  div  cap_estadio     (54 clubs, 18 per division)
    Clubes_Taca_<cc>.tsv   clube                       (54 league clubs + 10 others)
    jogadores_<cc>.tsv     nome equipa pos forca idade contrato
    jor_aux.tsv            jor  casa  fora             (double round robin, 18 slots)
    arbitros.tsv           ap  aux1  aux2              (referee trios)
    jogadores_all.tsv      nome_1                      (pool of names for new players)
for cc in pt, br, en, es, it, wd.
"""

import os
import random
import sys
import unicodedata

AQUI = os.path.dirname(os.path.abspath(__file__))
PASTA_SEMENTES = os.path.normpath(os.path.join(AQUI, "..", "..", "data", "seed"))

CONJUNTOS = ["pt", "br", "en", "es", "it", "wd"]
PROIBIDOS = set("$%*)(|=><\\/'#&;,")
MAX_CLUBE = 20
MAX_JOGADOR = 20
MAX_ARBITRO = 30

# Strength range and stadium range of each division.
FAIXA_FORCA = {1: (50, 89), 2: (25, 64), 3: (10, 49)}
FAIXA_ESTADIO = {1: (30000, 100000), 2: (18000, 45000), 3: (10001, 25000)}


def lista(texto):
    """Comma-separated word list -> list of stripped, non-empty entries."""
    return [p.strip() for p in texto.replace("\n", " ").split(",") if p.strip()]


# --------------------------------------------------------------------------
# Name key: the game compares names without regard to case or accents (it
# folds Latin-1 and Latin Extended-A letters to their base letter).  Names
# here keep to those letters, so NFKD plus a few ligatures gives the same key.

_LIGADURAS = str.maketrans({"ß": "ss", "æ": "ae", "Æ": "ae", "ø": "o", "Ø": "o",
                            "đ": "d", "Đ": "d", "ł": "l", "Ł": "l", "ı": "i",
                            "œ": "oe", "Œ": "oe", "þ": "th", "Þ": "th"})


def chave(nome):
    s = unicodedata.normalize("NFKD", nome.translate(_LIGADURAS))
    s = "".join(c for c in s if not unicodedata.combining(c))
    return s.lower()


def nome_valido(nome, maximo):
    return (0 < len(nome) <= maximo and nome == nome.strip() and "  " not in nome
            and not (set(nome) & PROIBIDOS) and "\t" not in nome
            and all(ord(c) < 0x180 for c in nome))


# --------------------------------------------------------------------------
# Towns and club-name patterns.  "{t}" is the town.  Weights favour the
# patterns most usual in each country.

PAISES = {}


def pais(cc, cidades, padroes):
    PAISES[cc] = {"cidades": lista(cidades), "padroes": padroes}


pais("pt", """
    Vila Franqueira, Castelo Morado, Ribaseca, Vale Sereno, Torre Velha, Alcarva,
    Ponte Louriça, Sardoeira, Fontelada, Louredinho, Carvalheda, Aldeia Rica,
    Quintanela, Penamoura, Alvarinha, Azenhas Altas, Monte Brandão, Caldas da Penha,
    São Brás do Vale, Santa Aurélia, Praia Dourada, Lagoa Funda, Cerdeirinha, Mourazelo,
    Ermida Nova, Alfarelha, Tojal Grande, Outeiral, Moinhos Velhos, Barrancal,
    Cabeço Alto, Sobral Novo, Lousadela, Vilarelho, Casal Bravo, Malhadinha,
    Tapada Nova, Carrascal, Ribafeira, Alvorinha, Borralhal, Cabrelas, Daveira,
    Gondelim, Junqueirinha, Lameirão, Nogueiral, Orvalhal, Pardieiros, Quebradas,
    Sarzedela, Telhadela, Urqueirinha, Valverdinho, Amieiral, Bouçadela, Canedelo Alto,
    Escalhado Novo, Freixial, Giestal Novo, Lourelinho, Marvanejo, Picoteira, Azinhaga Nova,
    Rio Seixo, Serradela, Souselinho, Trancosela, Vidoeiro de Cima, Zambujal Novo,
    Várzea Fria, Ameixial Alto, Corte Pintada, Olival Grande
""", [("{t}", 3), ("FC {t}", 3), ("SC {t}", 3), ("GD {t}", 3), ("CD {t}", 2), ("AD {t}", 2),
      ("Académico {t}", 2), ("Atlético {t}", 2), ("Desportivo {t}", 2), ("União {t}", 2),
      ("Sporting {t}", 1), ("Lusitano {t}", 1), ("Juventude {t}", 1), ("Operário {t}", 1),
      ("Ginásio {t}", 1), ("Recreio {t}", 0.5), ("Vitória {t}", 1), ("Estrela {t}", 1),
      ("Clube {t}", 0.5), ("{t} FC", 1)])

pais("br", """
    Itaquaré, Ibirapema, Jacaraí, Piraúna, Caiçarama, Juremal, Boa Aurora,
    Santa Iracema, Ouro Claro, Campo Jatobá, Rio Anajá, Serra Azulada, Vila Guaraci,
    Porto Cajueiro, Cajuapé, Tabocal, Araçaíba, Curimbaté, Piracema Alta, Barra do Jucá,
    Lagoa Serena, Morro Verde, São Tibério, Santo Anselmo, Nova Iguapira, Vila Jacira,
    Ibiraquara, Guajuru, Tapirema, Capivaral, Jequirana, Buritiana, Mangabal, Pau Ferrado,
    Cachoeira Fria, Riachão Novo, Brejo Claro, Serrinha Nova, Aroeiral, Itaçupé,
    Paranaúna, Cambaraí, Acaramirim, Juçarana, Taquarema, Anhumal, Ipiranguinha,
    Sapucaiba, Jandaruna, Ubatinga, Guaraponga, Coroaré, Campo Sereno, São Leôncio,
    Santa Benedita, Vila Tupinã, Águas do Jacu, Baixa Dourada, Porto Jacamim,
    Ribeirão Azul, Pedra Lisa, Cerro Bonito, Lajedo Alto, Vargem Clara, Poço Claro,
    Itapurama, Mucuripeba, Tatuquera, Jabotiquara, Icaraúna
""", [("{t} EC", 3), ("{t} FC", 3), ("{t} AC", 2), ("EC {t}", 3), ("Atlético {t}", 3),
      ("Grêmio {t}", 2), ("Esporte {t}", 2), ("União {t}", 2), ("Comercial {t}", 1),
      ("Ferroviário {t}", 1), ("Operário {t}", 1), ("Independente {t}", 1),
      ("Esportivo {t}", 1), ("Sociedade {t}", 1), ("Real {t}", 1), ("América {t}", 1),
      ("Clube {t}", 1), ("Colorado {t}", 1), ("Estrela {t}", 1)])

pais("en", """
    Ashcombe, Marlbridge, Thornwick, Elmsford, Kestermoor, Bramhurst, Stanmere,
    Wolverdale, Farnleigh, Oakenbury, Holmsworth, Langcaster, Brackenford, Sudbeck,
    Whitmoor, Kirkhaven, Merriton, Ravensby, Dunmarsh, Gorsebridge, Millhaven,
    Ashenford, Cresslow, Harlowby, Calderbrook, Fennington, Broadmere, Castlewick,
    Hollinsford, Redbarrow, Silverholme, Thackerby, Wexmoor, Bexworth, Coldhaven,
    Pendlebrook, Saltmarsh, Easterby, Westerholm, Norbridge, Southmere, Greywater,
    Stonebury, Ellesby, Amberford, Hexley, Brimsworth, Tollerby, Wickstead, Chalkford,
    Larkhampton, Moorcaster, Hawksmere, Dovebridge, Ironholme, Copperdale, Kingsbarrow,
    Queensmoor, Pemberford, Rushcombe, Ludmere, Fallowby, Oxmere, Tanbury, Wrenford,
    Heronbridge, Swallowdale, Gildersby, Barnstow, Haverleigh, Crowmoor, Hazelbeck
""", [("{t} United", 5), ("{t} City", 4), ("{t} Town", 4), ("{t} Rovers", 2),
      ("{t} Athletic", 2), ("{t} Wanderers", 1), ("{t} Albion", 2), ("{t} Rangers", 1),
      ("{t} County", 1), ("{t} Borough", 1), ("{t} Villa", 1), ("{t} Harriers", 1),
      ("{t} Swifts", 1), ("{t} Argyle", 1), ("{t} FC", 1), ("AFC {t}", 1),
      ("{t} Alexandra", 1), ("{t} Victoria", 1)])

pais("es", """
    Castrovalle, Montesoria, Villaserena, Puerto Alcázar, Torremediana, Sierralta,
    Valdeluna, Peñablanca, Fuentecalma, Torreclara, Fuenteoscura, Villafresca,
    Almenaro, Alcarrama, Navalrubio, Valdecierzo, Campodoro, Robledal, San Crispín,
    Santa Olaria, Villamarga, Ríoclaro, Montearcos, Alberquilla, Lagunarejo,
    Puebla Serrana, Cabezaluna, Mirallanos, Bellaroca, Aguaserena, Torrebruna,
    Villanegra, Almadrava, Costaurea, Portolucín, Arriazabal, Goikoerreka, Vilafosca,
    Vilamarí, Castellfosc, Montblanquet, Encinar, Navasierra, Peñalisa,
    Castrobravo, Villacerros, Valdemiel, Aldeafría, Hontanar, Quintanalba,
    Fuenteclara, Ribaluz, Torrelobos, Cañadalta, Berrocal Viejo, Almarcha Nueva,
    Zubialde, Ibarzabal, Riberasol, Cabo Ventoso, Solanilla, Mesaroca,
    Villaolmos, Cerrogordo, Valdeazor, Torrepinos, Santa Alodia, San Brício,
    Puertolucero, Losarcos
""", [("Real {t}", 2), ("Atlético {t}", 3), ("Deportivo {t}", 2), ("Racing {t}", 2),
      ("CD {t}", 3), ("UD {t}", 3), ("SD {t}", 2), ("CF {t}", 2), ("Club {t}", 1),
      ("Unión {t}", 1), ("Sporting {t}", 1), ("Gimnástica {t}", 1), ("Recreativo {t}", 1),
      ("{t} CF", 2), ("{t} Balompié", 1), ("Cultural {t}", 1), ("Juventud {t}", 1),
      ("Arenas {t}", 0.5), ("CE {t}", 1), ("Olímpico {t}", 0.5)])

pais("it", """
    Montebrando, Castelvero, Sanforte, Borgoalto, Valdoria, Portoverde, Torrevalle,
    Casalfiore, Fiumelargo, Roccaserena, Pietraluce, Campoferro, Villalunga,
    Castelbruno, Monteargilla, Acquachiara, Serrafonda, Sassoverde, Poggiolungo,
    Collefiorito, Lagorosso, Marinalta, Fontebella, Vignalonga, Rivascura, San Ferolo,
    San Gualtiero, Santa Ilaria, Castelmirto, Roccanera, Borgolieto, Pescalta,
    Terrabianca, Montesoleo, Pontescuro, Casalverde, Ortavilla, Calanova, Brunella,
    Valleriva, Albarosa, Lucerano, Cervarola, Olivara, Gravasco, Trevisello, Pennalba,
    Varezzone, Cannetino, Scoglio Alto, Portolargo, Mezzavia, Castrovetere, Rocca Fiorita,
    Terranera, Ponterosso, Vallombra, Monterame, Fiumechiaro, Querciola Nuova,
    Sorbolano, Castagnella, Pietraviva, Roverella, Boscoscuro,
    Vignarosa, Serralonga, Cascina Rotta, Luceverde, Ripafonda
""", [("{t}", 5), ("AC {t}", 3), ("US {t}", 3), ("SS {t}", 2), ("AS {t}", 2),
      ("FC {t}", 2), ("Calcio {t}", 1), ("Sporting {t}", 1), ("Virtus {t}", 2),
      ("Pro {t}", 1), ("Atletico {t}", 1), ("Real {t}", 1), ("Unione {t}", 1),
      ("{t} Calcio", 2), ("Audace {t}", 0.5), ("Olimpia {t}", 0.5), ("Fortitudo {t}", 0.5),
      ("Libertas {t}", 0.5), ("Polisportiva {t}", 0.5), ("Vis {t}", 0.5)])

# Countries that only appear in the world selection.
pais("de", """
    Altenbruck, Hohenmark, Wendelsdorf, Kaltenried, Steinfelden, Lindenwald,
    Grünhafen, Oberhainau, Rabenstedt, Eichenrode, Falkenried, Birkenheim,
    Moorbach, Hellerstadt, Wiesenau
""", [("FC {t}", 3), ("SV {t}", 3), ("VfB {t}", 2), ("TSV {t}", 2), ("Eintracht {t}", 2),
      ("Borussia {t}", 1), ("Fortuna {t}", 1), ("Alemannia {t}", 1), ("Union {t}", 1),
      ("SpVgg {t}", 1), ("VfL {t}", 2)])

pais("fr", """
    Belleroche, Montclairon, Valmorin, Saint-Florac, Villebrune, Rochefonde, Beaulac,
    Clairbois, Pontaverne, Sablonnay, Marvejac, Lesterac, Vaucluzet
""", [("Olympique {t}", 2), ("Stade {t}", 3), ("AS {t}", 3), ("FC {t}", 3),
      ("Racing {t}", 1), ("SC {t}", 2), ("US {t}", 2), ("AJ {t}", 1), ("En Avant {t}", 1)])

pais("nl", """
    Hoogdam, Marrewijk, Oosterbroek, Veldwijk, Zandmeer, Bergerveen, Lindendorp,
    Waterhaven, Dijkerhout, Noordkamp
""", [("FC {t}", 3), ("SC {t}", 2), ("VV {t}", 2), ("Sparta {t}", 1), ("Fortuna {t}", 1),
      ("Excelsior {t}", 1), ("Quick {t}", 1), ("{t} Boys", 1)])

pais("ar", """
    Villa Aurora, Puerto Alborada, Los Ceibales, San Evaristo, Santa Leonor,
    Cerro Dorado, Las Acacias, Villa Esmeralda, Coronel Arrieta, Paso del Ceibo,
    Barrancas Altas, Río Sereno
""", [("Atlético {t}", 3), ("Deportivo {t}", 2), ("Racing {t}", 1), ("Sportivo {t}", 2),
      ("Estudiantes {t}", 1), ("Gimnasia {t}", 1), ("Talleres {t}", 1),
      ("Independiente {t}", 1), ("Unión {t}", 1), ("Club {t}", 1), ("Defensores {t}", 1),
      ("Juventud {t}", 1), ("Central {t}", 1)])

pais("sc", """
    Norrvik, Lindsund, Ekedal, Björkhamn, Sjöhavn, Fjellstad, Varnäs, Holmsjö,
    Strandvik, Råbyholm, Östermark, Skovhavn
""", [("{t} IF", 3), ("{t} BK", 2), ("IFK {t}", 2), ("{t} FF", 2), ("{t} IK", 1),
      ("{t} SK", 1), ("FK {t}", 1), ("{t} FC", 1)])

pais("tr", """
    Akdereli, Gökçekent, Kayalıdere, Yeşildere, Karaçınar, Beyazkent, Ilıcaköy,
    Sarıgölcük, Dereyurt, Tepekent
""", [("{t}spor", 5), ("{t} SK", 1), ("{t}gücü", 1), ("{t} FK", 1)])

pais("bk", """
    Zlatopolje, Beloselo, Krajevac, Rudinovac, Lipovčani, Gornji Brest, Dubravac,
    Vrbovica, Sremska Luka, Novi Lazar
""", [("FK {t}", 3), ("NK {t}", 3), ("Dinamo {t}", 1), ("Radnički {t}", 1), ("Sloga {t}", 1),
      ("Borac {t}", 1), ("Budućnost {t}", 1), ("Sloboda {t}", 1), ("Mladost {t}", 1),
      ("Jedinstvo {t}", 1), ("Proleter {t}", 1), ("Rudar {t}", 1)])

pais("ru", """
    Lesogorsk, Novoreshensk, Belozarsk, Krasnodolsk, Ozerograd, Svetlopolye,
    Zarechensk, Verkhnegorsk, Staroselsk
""", [("Dinamo {t}", 2), ("Spartak {t}", 2), ("Lokomotiv {t}", 2), ("Torpedo {t}", 1),
      ("Zenit {t}", 1), ("Shakhtar {t}", 1), ("Metallurg {t}", 1), ("Khimik {t}", 1),
      ("Avangard {t}", 1), ("Neftyanik {t}", 1), ("Energiya {t}", 1)])

pais("af", """
    Adanwe, Okoroma, Ikemba, Tamakoro, Bamakoro, Kessinou, Mbalonga, Ouanaba,
    Djirenko
""", [("{t} Stars", 2), ("{t} United", 2), ("{t} Rangers", 1), ("AS {t}", 2),
      ("Jeunesse {t}", 1), ("Union {t}", 1), ("Tonnerre {t}", 1), ("{t} Sharks", 1),
      ("{t} Eagles", 1), ("{t} Dynamos", 1), ("Canon {t}", 1)])

# Fully made-up club names shaped like real ones could still, by chance, be
# the name of a real club; these words belong to well-known real clubs and
# must not appear in any club name.
NOMES_DE_CLUBES_REAIS = lista("""
    Benfica, Boavista, Belenenses, Marítimo, Braga, Flamengo, Fluminense, Botafogo,
    Corinthians, Palmeiras, Vasco, Cruzeiro, Arsenal, Chelsea, Liverpool, Tottenham,
    Everton, Barcelona, Madrid, Sevilla, Valencia, Betis, Juventus, Milan, Internazionale,
    Lazio, Roma, Napoli, Fiorentina, Ajax, Feyenoord, PSV, Bayern, Dortmund, Schalke,
    Boca, River, Peñarol, Galatasaray, Fenerbahçe, Beşiktaş, Olympiacos, Celtic, Anderlecht
""")


# --------------------------------------------------------------------------
# People.  Each nationality: first names, surnames and (optionally) a way of
# making the single-name or nickname forms usual there.

NOMES = {}


def gente(cc, primeiros, apelidos, **extra):
    NOMES[cc] = {"primeiros": lista(primeiros), "apelidos": lista(apelidos), **extra}


gente("pt", """
    João, Pedro, Rui, Nuno, Tiago, Bruno, André, Miguel, Ricardo, Hugo, Diogo, Filipe,
    Vítor, Paulo, Sérgio, Luís, Carlos, Jorge, Fábio, Hélder, Marco, Nélson, Rúben,
    Gonçalo, Daniel, Fernando, Joaquim, Manuel, António, José, Francisco, Rafael, Tomás,
    Duarte, Henrique, Simão, Vasco, Artur, Álvaro, Renato, Domingos, Armando, Rodrigo,
    Ivo, Valter, Márcio, Telmo, Ângelo, Leandro, Emanuel, Samuel, Martim, Afonso, Gil,
    Edgar, Flávio, Bernardo, Mauro, Sandro, Vitorino, Abel, Amílcar, Eduardo, Gaspar
""", """
    Silva, Santos, Ferreira, Pereira, Oliveira, Costa, Rodrigues, Martins, Sousa,
    Fernandes, Gonçalves, Gomes, Lopes, Marques, Alves, Almeida, Ribeiro, Pinto,
    Carvalho, Teixeira, Moreira, Correia, Mendes, Nunes, Soares, Vieira, Monteiro,
    Cardoso, Rocha, Neves, Coelho, Cruz, Cunha, Pires, Ramos, Reis, Simões, Antunes,
    Matos, Fonseca, Morais, Machado, Barbosa, Tavares, Azevedo, Brito, Lourenço,
    Baptista, Campos, Faria, Bastos, Magalhães, Leite, Borges, Queirós, Seixas, Vaz,
    Figueiredo, Macedo, Quintela, Amaral, Sequeira, Valente, Louro, Esteves, Freitas,
    Paiva, Couto, Salgado, Pacheco, Rebelo, Carneiro, Calado, Barros, Abreu, Bento,
    Cordeiro, Loureiro, Miranda, Sampaio, Moura, Serrano, Peixoto, Frade, Tomé,
    Brandão, Pimenta, Arruda, Canelas, Belchior, Fagundes, Godinho, Lacerda, Aguiar,
    Carrilho, Farinha, Malheiro, Rebocho, Trindade, Vidigal, Espinho, Castanheira
""",
      compostos=lista("João Pedro, Rui Pedro, Nuno Miguel, Luís Miguel, Rui Miguel, "
                      "José Carlos, Luís Carlos, João Carlos, Paulo Jorge, Carlos Miguel, "
                      "João Paulo, José Manuel, João Manuel, Luís Filipe, João Tiago, "
                      "Rui Filipe, Nuno André, João Diogo, José Luís, Jorge Miguel, "
                      "Hugo Miguel, Ricardo Jorge, Vítor Hugo, Pedro Nuno, Bruno Miguel, "
                      "Tiago André, José Pedro, Luís Pedro, Rui Manuel, "
                      "Nuno Filipe, Carlos Jorge, Paulo Manuel, António José, Francisco José, "
                      "João Nuno, Pedro Filipe, Marco Paulo, Luís Manuel"),
      curtos=lista("Zé, Tó, Quim, Nando, Chico, Toni, Tozé, Zeca, Nelo, Lito, Xico, Bino"),
      alcunhas=lista("""
    Zezinho, Tozé, Nandinho, Toninho, Quinzinho, Xiquinho, Lito, Nelo, Jojó, Pipo,
    Tino, Bino, Quico, Ruizinho, Tiaguinho, Betinho, Nandito, Carlitos, Zequinha,
    Russo, Manecas, Tóino, Joãozinho, Pedrito, Luisinho, Mindinho, Fininho, Lelo,
    Tonecas, Cacá, Miúdo, Tomané, Rapaz, Chiquito, Gaspito, Manelito, Quinito,
    Necas, Tozinho, Ruca
"""))

gente("br", """
    João, José, Carlos, Paulo, Marcos, Luiz, Antônio, Fernando, Rodrigo, Rafael,
    Gustavo, Felipe, Gabriel, Lucas, Mateus, Thiago, Leandro, Anderson, Wellington,
    Wanderson, Cleiton, Edson, Everaldo, Jefferson, Robson, Wesley, Diego, Bruno,
    Renato, Márcio, Fábio, Alexandre, Ricardo, Roberto, Sérgio, Júlio, Sandro,
    Reinaldo, Valdir, Vágner, Wagner, Éverton, Jádson, Caio, Vitor, Igor, Murilo,
    Douglas, Elias, Jonas, Hernane, Adílson, Gílson, Nílton, Osvaldo, Raimundo,
    Edvaldo, Josué, Ailton, Juliano, Heitor, Davi, Otávio, Valdemar, Cícero, Genivaldo
""", """
    Silva, Santos, Oliveira, Souza, Rodrigues, Ferreira, Alves, Pereira, Lima, Gomes,
    Costa, Ribeiro, Martins, Carvalho, Almeida, Lopes, Soares, Fernandes, Vieira,
    Barbosa, Rocha, Dias, Nascimento, Andrade, Moreira, Nunes, Marques, Machado,
    Mendes, Freitas, Cardoso, Ramos, Gonçalves, Santana, Teixeira, Araújo, Cavalcanti,
    Moura, Campos, Batista, Pinheiro, Cunha, Monteiro, Bezerra, Farias, Medeiros,
    Castro, Sampaio, Queiroz, Albuquerque, Siqueira, Peixoto, Brandão, Amaral, Xavier,
    Leal, Bastos, Rezende, Vasconcelos, Guimarães, Prado, Fontes, Aragão, Sales, Melo,
    Tavares, Macedo, Paiva, Barros, Pimentel, Brito, Viana, Correia, Rangel, Holanda,
    Magalhães, Nogueira, Fagundes, Caldeira, Tenório, Bittencourt, Quintão, Falcão
""",
      compostos=lista("João Paulo, Carlos Eduardo, Luiz Fernando, Paulo Henrique, "
                      "Pedro Henrique, João Victor, Marcos Antônio, Luiz Carlos, José Roberto, "
                      "Carlos Henrique, Paulo Roberto, João Gabriel, Luiz Henrique, "
                      "José Augusto, Carlos Augusto, Marcos Paulo, Paulo Victor, "
                      "Luiz Felipe, João Ricardo, José Ricardo, "
                      "Luiz Otávio, Pedro Augusto, Rafael Henrique, Gabriel Vitor, João Lucas, "
                      "Carlos Alexandre, Paulo Júnior, Marcos Vinícius, "
                      "Luiz Antônio, Jorge Henrique, Rodrigo Augusto"),
      curtos=lista("Léo, Guto, Nando, Tuca, Cadu, Duda, Gui, Lipe, Dinho, Nino, Tico, "
                   "Juca, Zeca, Caco, Beto, Chico, Neto, Kiko, Rafa, Tiago"),
      regioes=lista("Baiano, Mineiro, Paulista, Carioca, Gaúcho, Paraense, Cearense, "
                    "Potiguar, Catarinense, Capixaba, Goiano, Sergipano, Alagoano, "
                    "Amazonense, Acreano, Paraibano, Maranhense, Piauiense"),
      alcunhas=lista("""
    Tatá, Juca, Betão, Lelo, Bira, Tonho, Guto, Tuca, Cacá, Nenzinho, Tiziu, Pitoco,
    Caju, Zelão, Fumaça, Paulão, Chicão, Pedrão, Tico, Nino, Neném, Dudé, Bilu, Toco,
    Xandão, Bigode, Tatu, Peixinho, Gringo, Dinho, Nico, Cadu, Duda, Lipe, Dedeco,
    Carlão, Marcão, Robertão, Bruninho, Joãozinho, Luizinho, Zezé, Lelê, Pipo,
    Bolinha, Cascão, Cabeça, Mosquito, Canário, Sabiá, Tucano, Jacaré, Sapo, Bode,
    Touro, Foguete, Trovão, Relâmpago, Brasa, Cebola, Feijão, Batata, Tampinha,
    Baixinho, Magrelo, Galego, Polaco, Ruivo, Cabeludo, Tiquim, Bidu, Bochecha,
    Canhoto, Lobinho, Gaviãozinho, Quiabo, Caçula, Jacó, Tuim, Cuscuz,
    Pirulito, Tuíca, Xodó, Zangão, Bacalhau, Pitanga, Cajuzinho, Tainha, Piaba,
    Sucuri, Tatuzinho, Periquito, Chiclete, Marreco, Sanhaço, Coruja, Biscoito
"""))

gente("en", """
    John, David, Paul, Mark, Steven, Gary, Michael, Ian, Lee, Darren, Craig, Neil,
    Stuart, Martin, Andrew, James, Robert, Richard, Simon, Kevin, Wayne, Jamie, Dean,
    Carl, Danny, Matthew, Chris, Tony, Graham, Jason, Scott, Kieran, Ryan, Adam, Tom,
    Ben, Luke, Sam, Jack, Nathan, Liam, Callum, Joe, Alan, Phil, Trevor, Glenn, Gavin,
    Shaun, Barry, Keith, Russell, Nigel, Colin, Jonathan, Harry, Alfie, George, Oliver,
    Dominic, Elliot, Reece, Jordan, Connor, Bradley
""", """
    Smith, Jones, Taylor, Brown, Williams, Wilson, Johnson, Davies, Robinson, Wright,
    Thompson, Evans, Walker, White, Roberts, Green, Hall, Wood, Jackson, Clarke, Harris,
    Lewis, Hughes, Turner, Hill, Cooper, Ward, Morris, Baker, Parker, Bennett, Marshall,
    Holmes, Lambert, Fletcher, Barker, Pearson, Dixon, Foster, Chapman, Hudson, Kemp,
    Lowe, Bolton, Goddard, Pritchard, Ashworth, Whitfield, Mellor, Hargreaves, Bradshaw,
    Atkinson, Brooks, Butler, Carter, Chambers, Cole, Cox, Curtis, Dawson, Ellis,
    Fisher, Fowles, Gibson, Graham, Griffiths, Hammond, Hartley, Hayes, Holland,
    Hopkins, Howard, Hunt, Jenkins, Kelly, Knight, Lawrence, Lawson, Mason, Matthews,
    Mills, Moss, Newman, Norris, Owen, Palmer, Payne, Pearce, Porter, Price, Read,
    Reynolds, Riley, Russell, Sanders, Saunders, Shaw, Simpson, Slater, Spencer,
    Stevens, Stone, Sutton, Thornton, Tucker, Wade, Wallace, Warren, Watts, Webb,
    Wells, West, Wheeler, Whittaker, Wilkinson, Woodward, Yates, Bramley, Cartwright,
    Denton, Fairclough, Greenwood, Haworth, Ingram, Kershaw, Lister, Midgley, Nuttall,
    Oldroyd, Pickering, Rowley, Sowerby, Tattersall, Underwood, Walmsley
""")

gente("es", """
    Antonio, José, Manuel, Francisco, Juan, David, Javier, Daniel, Carlos, Jesús,
    Alejandro, Miguel, Rafael, Pablo, Sergio, Fernando, Jorge, Luis, Alberto, Álvaro,
    Diego, Adrián, Raúl, Iván, Rubén, Óscar, Andrés, Enrique, Ramón, Vicente, Joaquín,
    Santiago, Víctor, Ignacio, Gonzalo, Marcos, Hugo, Mario, Íñigo, Unai, Aitor, Jordi,
    Pau, Marc, Borja, Iker, Asier, Gorka, Eduardo, Emilio, Germán, Julián, Agustín,
    Salvador, Tomás, Ismael, Cristian, Jaime, Martín, Ander, Oriol, Xabier, Roberto
""", """
    García, Martínez, López, Sánchez, Pérez, Gómez, Martín, Jiménez, Ruiz, Hernández,
    Díaz, Moreno, Álvarez, Muñoz, Romero, Alonso, Gutiérrez, Navarro, Torres,
    Domínguez, Vázquez, Ramos, Gil, Ramírez, Serrano, Blanco, Molina, Morales, Suárez,
    Ortega, Delgado, Castro, Ortiz, Rubio, Marín, Sanz, Iglesias, Medina, Garrido,
    Cortés, Castillo, Santos, Lozano, Guerrero, Cano, Prieto, Méndez, Cruz, Calvo,
    Gallego, Vidal, León, Márquez, Herrera, Peña, Flores, Cabrera, Campos, Vega,
    Fuentes, Carrasco, Diez, Caballero, Reyes, Nieto, Aguilar, Pascual, Santana,
    Herrero, Lorenzo, Montero, Hidalgo, Giménez, Ibáñez, Ferrer, Durán, Benítez, Mora,
    Arias, Vargas, Carmona, Crespo, Román, Pastor, Soto, Sáez, Velasco, Moya, Soler,
    Parra, Esteban, Bravo, Gallardo, Rojas, Echeverría, Aranguren, Etxeberria, Urrutia,
    Goikoetxea, Arrieta, Olazábal, Zabala, Larrañaga, Puig, Ferrán, Casals, Roig,
    Vilanova, Pujol, Sotelo, Losada, Varela, Otero, Lamas, Bouzas, Abad, Salinas
""",
      curtos=lista("Javi, Dani, Fran, Rafa, Santi, Nacho, Quique, Paco, Chema, Manu, "
                   "Juanma, Josemi, Isma, Luismi, Sergi, Toni, Kike, Txema, Iñaki, Edu, "
                   "Jota, Rober, Álex, Migue, Juanjo, Josete, Pepe, Curro, Nando, Moi"),
      alcunhas=lista("""
    Paquito, Chechu, Txetxu, Curro, Tito, Pichi, Manolo, Lolo, Chus, Nino, Rubito,
    Chiqui, Juanfe, Manolín, Lucho, Rafita, Quino, Petxo, Cholín, Perico, Pacorro,
    Juanín, Toñete, Josechu, Txomin, Iñakito, Santiaguín, Fermintxo, Tonín
"""))

gente("it", """
    Marco, Andrea, Luca, Alessandro, Giuseppe, Francesco, Antonio, Giovanni, Roberto,
    Stefano, Paolo, Fabio, Massimo, Simone, Davide, Matteo, Lorenzo, Federico,
    Riccardo, Daniele, Alberto, Claudio, Enrico, Gianluca, Salvatore, Vincenzo, Pietro,
    Michele, Nicola, Emanuele, Filippo, Mattia, Cristian, Domenico, Raffaele, Carlo,
    Mario, Giorgio, Sergio, Walter, Maurizio, Angelo, Dario, Ivan, Diego, Moreno,
    Tommaso, Giacomo, Leonardo, Edoardo, Gianni, Luigi, Franco, Alessio, Valerio,
    Ettore, Gabriele, Marcello, Samuele, Umberto
""", """
    Rossi, Russo, Ferrari, Esposito, Bianchi, Romano, Colombo, Ricci, Marino, Greco,
    Bruno, Gallo, Conti, De Luca, Mancini, Costa, Giordano, Rizzo, Lombardi, Moretti,
    Barbieri, Fontana, Santoro, Mariani, Rinaldi, Caruso, Ferrara, Galli, Martini,
    Leone, Longo, Gentile, Martinelli, Vitale, Lombardo, Serra, Coppola, De Santis,
    Marchetti, Parisi, Villa, Ferraro, Ferri, Fabbri, Bianco, Marini, Grasso,
    Valentini, Messina, Sala, De Angelis, Gatti, Pellegrini, Palumbo, Sanna, Farina,
    Rizzi, Monti, Cattaneo, Morelli, Amato, Silvestri, Mazza, Testa, Grassi,
    Pellegrino, Carbone, Giuliani, Benedetti, Barone, Rossetti, Caputo, Montanari,
    Guerra, Palmieri, Bernardi, Martino, Fiore, De Rosa, Ferretti, Bellini, Basile,
    Riva, Donati, Piras, Vitali, Battaglia, Sartori, Neri, Costantini, Milani,
    Pagano, Ruggiero, Sorrentino, Orlando, Negri, Colonna, Bonetti, Tagliaferri,
    Zanetti, Bertolini, Cavallo, Lucchesi, Mazzoni, Bettini, Guidi, Tosi, Zanella
""")

gente("de", """
    Thomas, Michael, Andreas, Stefan, Markus, Frank, Jürgen, Uwe, Dirk, Jens, Sven,
    Lars, Jan, Tobias, Florian, Sebastian, Matthias, Christian, Oliver, Timo, Kai,
    Marcel, Holger, Ralf, Torsten, Björn, Niklas, Felix, Lukas, Jonas, Dieter, Heiko,
    Patrick, Dennis, Manuel, Benjamin, Moritz, Philipp
""", """
    Müller, Schmidt, Schneider, Fischer, Weber, Meyer, Wagner, Becker, Schulz,
    Hoffmann, Koch, Richter, Klein, Wolf, Schröder, Neumann, Schwarz, Zimmermann,
    Braun, Krüger, Hartmann, Lange, Schmitt, Werner, Krause, Meier, Lehmann, Schulze,
    Köhler, Herrmann, König, Walter, Mayer, Huber, Kaiser, Fuchs, Peters, Scholz,
    Möller, Weiss, Jung, Hahn, Vogel, Keller, Günther, Berger, Winkler, Roth, Beck,
    Lorenz, Baumann, Franke, Albrecht, Ludwig, Winter, Kraus, Böhm, Vogt, Stein,
    Jäger, Sommer, Seidel, Brandt, Haas, Schreiber, Graf, Dietrich, Ziegler, Kuhn,
    Pohl, Engel, Horn, Busch, Bergmann, Voigt, Sauer, Arnold, Pfeiffer
""")

gente("fr", """
    Jean, Pierre, Michel, Philippe, Alain, Patrick, Nicolas, Christophe, Stéphane,
    Laurent, Frédéric, Julien, David, Sébastien, Olivier, Thierry, Éric, Franck,
    Vincent, Jérôme, Bruno, Cédric, Fabien, Benoît, Guillaume, Mathieu, Romain,
    Antoine, Maxime, Lucas, Hugo, Yann, Loïc, Gaël, Didier, Bernard, Marc, Gilles,
    Jean-Marc, Jean-Luc, Rémi, Quentin, Florian, Bastien
""", """
    Martin, Bernard, Dubois, Robert, Richard, Petit, Durand, Leroy, Moreau, Simon,
    Lefebvre, Michel, David, Bertrand, Roux, Fournier, Morel, Girard, André, Lefèvre,
    Mercier, Dupont, Lambert, Bonnet, François, Legrand, Garnier, Faure, Rousseau,
    Guérin, Muller, Roussel, Perrin, Morin, Clément, Gauthier, Dumont, Fontaine,
    Chevalier, Robin, Masson, Gérard, Boyer, Denis, Lemaire, Duval, Joly, Gautier,
    Roche, Noël, Meunier, Marchand, Dufour, Blanchard, Barbier, Brun, Dumas, Brunet,
    Leroux, Colin, Renard, Arnaud, Rolland, Caron, Aubert, Giraud, Leclerc, Bourgeois,
    Renaud, Lemoine, Picard, Gaillard, Lacroix, Fabre, Dupuis, Hubert, Guillot,
    Rivière, Le Gall, Moulin, Lecomte, Fleury, Carpentier, Maillard, Marchal, Aubry,
    Vasseur, Le Roux, Prévost, Poirier, Charpentier, Huet, Baron, Dupuy, Pons, Breton
""")

gente("nl", """
    Jan, Pieter, Dirk, Kees, Johan, Henk, Bas, Ruud, Marco, Frank, Ronald, Edwin,
    Patrick, Dennis, Wesley, Jaap, Wim, Bram, Joost, Sander, Niels, Thijs, Daan, Sem,
    Luuk, Jeroen, Martijn, Robin, Rick, Jasper, Erik, Gert, Theo, Willem, Koen, Tim,
    Jeffrey, Rutger, Stijn, Wouter
""", """
    de Jong, Jansen, de Vries, van den Berg, Bakker, Janssen, Visser, Smit, Meijer,
    de Boer, Mulder, de Groot, Bos, Vos, Hendriks, van Leeuwen, Dekker, Brouwer,
    de Wit, Dijkstra, Smits, de Graaf, van der Meer, van der Linden, Kok, Jacobs,
    de Haan, Vermeulen, van den Heuvel, van der Veen, van den Broek, de Bruijn,
    van der Heijden, Schouten, van Beek, Willems, van Vliet, van de Ven, Hoekstra,
    Maas, Verhoeven, Koster, van Dam, van der Wal, Prins, Blom, Huisman, de Lange,
    Kuipers, van Wijk, Postma, Kramer, van den Bosch, Veenstra, Timmermans, Groen,
    Wouters, Zwart, Hoogland, Sluiter, Kroon, Verbeek, Brink
""")

gente("ar", """
    Juan, Carlos, Diego, Gabriel, Martín, Pablo, Sebastián, Lucas, Matías, Nicolás,
    Gonzalo, Facundo, Leandro, Hernán, Ezequiel, Fernando, Javier, Ramiro, Walter,
    Claudio, Ariel, Marcelo, Emiliano, Cristian, Federico, Santiago, Mauro, Rodrigo,
    Franco, Agustín, Germán, Néstor, Horacio, Osvaldo, Rubén, Sergio, Julio, Darío,
    Fabián, Gustavo, Ricardo, Raúl, Tomás, Joaquín, Lautaro, Nahuel
""", """
    González, Rodríguez, Gómez, Fernández, López, Díaz, Martínez, Pérez, García,
    Sánchez, Romero, Sosa, Torres, Álvarez, Ruiz, Ramírez, Flores, Benítez, Acosta,
    Medina, Herrera, Suárez, Aguirre, Giménez, Gutiérrez, Pereyra, Rojas, Molina,
    Castro, Ortiz, Silva, Núñez, Luna, Juárez, Cabrera, Ríos, Ferreyra, Godoy, Morales,
    Domínguez, Moreno, Peralta, Vega, Carrizo, Quiroga, Castillo, Ledesma, Muñoz,
    Ojeda, Ponce, Vera, Vázquez, Villalba, Cardozo, Navarro, Coronel, Maldonado, Paz,
    Figueroa, Correa, Cáceres, Arias, Mendoza, Miranda, Bustos, Caballero, Barrios,
    Lucero, Ibarra, Insaurralde, Bianchi, Lombardi, Pagani, Scotti, Bonfiglio, Varela,
    Olivera, Olmos, Etcheverry, Iriarte, Goñi, Lasarte, Pintos, Sartori, Bentancor
""")

gente("sc", """
    Lars, Anders, Erik, Johan, Henrik, Mikael, Magnus, Stefan, Fredrik, Niklas, Per,
    Ola, Ole, Jonas, Kim, Mads, Rasmus, Søren, Jesper, Morten, Kristian, Tore, Rune,
    Øyvind, Espen, Håkan, Jørgen, Kenneth, Jari, Mika, Sami, Teemu, Jussi, Aki, Emil,
    Viktor, Oskar, Sindre, Thorbjørn
""", """
    Andersson, Johansson, Karlsson, Nilsson, Eriksson, Larsson, Olsson, Persson,
    Svensson, Gustafsson, Pettersson, Jonsson, Lindberg, Lindqvist, Berg, Hansen,
    Johansen, Olsen, Larsen, Andersen, Pedersen, Nielsen, Kristiansen, Jensen,
    Sørensen, Rasmussen, Christensen, Poulsen, Madsen, Halvorsen, Haugen, Bakke,
    Strand, Dahl, Lund, Holm, Eklund, Sandberg, Nyström, Virtanen, Korhonen, Mäkinen,
    Nieminen, Heikkinen, Lehtonen, Åberg, Sjöberg, Wikström, Engström, Solberg
""")

gente("tr", """
    Mehmet, Ahmet, Mustafa, Ali, Hasan, Hüseyin, İbrahim, Murat, Emre, Serkan, Burak,
    Volkan, Tolga, Ozan, Arda, Cenk, Selçuk, Okan, Tuncay, Hakan, Ümit, Kemal, Erkan,
    Fatih, Gökhan, Oğuz, Kaan, Cem, Onur, Yusuf, Sinan, Tayfun, Barış, Mert
""", """
    Yılmaz, Kaya, Demir, Şahin, Çelik, Yıldız, Yıldırım, Öztürk, Aydın, Özdemir,
    Arslan, Doğan, Kılıç, Aslan, Çetin, Kara, Koç, Kurt, Özkan, Şimşek, Polat,
    Korkmaz, Karataş, Aktaş, Güneş, Keskin, Acar, Bulut, Tekin, Uçar, Akın, Turan,
    Ateş, Ekinci, Erdem, Kocaman, Tunç, Sezer
""")

gente("bk", """
    Dragan, Zoran, Goran, Milan, Marko, Nikola, Stefan, Nenad, Dejan, Igor, Ivan,
    Darko, Vladimir, Aleksandar, Miloš, Dušan, Bojan, Predrag, Slaviša, Siniša,
    Zvonimir, Mario, Ante, Josip, Luka, Tomislav, Davor, Edin, Emir, Haris, Vedran,
    Krešimir, Mladen, Filip, Petar
""", """
    Petrović, Jovanović, Nikolić, Marković, Đorđević, Stojanović, Ilić, Pavlović,
    Milošević, Kovačević, Popović, Todorović, Simić, Lazić, Babić, Horvat, Kovač,
    Marić, Jurić, Novak, Knežević, Vuković, Perić, Radić, Šimić, Tomić, Kralj, Matić,
    Bošnjak, Petrić, Begić, Hodžić, Mehmedović, Delić, Hadžić, Jelić, Vidović, Grgić,
    Barišić, Lovrić, Mandić, Rukavina, Bilić, Zorić, Vujić
""")

gente("ru", """
    Sergei, Aleksei, Dmitri, Andrei, Igor, Vladimir, Yuri, Oleg, Viktor, Nikolai,
    Pavel, Roman, Denis, Maksim, Artem, Ivan, Mikhail, Konstantin, Yevgeni, Anton,
    Vadim, Kirill, Ilya, Stanislav, Valeri, Gennadi, Vitali, Ruslan
""", """
    Ivanov, Smirnov, Kuznetsov, Popov, Vasiliev, Petrov, Sokolov, Mikhailov, Novikov,
    Fedorov, Morozov, Volkov, Alekseev, Lebedev, Semenov, Egorov, Pavlov, Kozlov,
    Stepanov, Nikolaev, Orlov, Andreev, Makarov, Nikitin, Zakharov, Zaitsev, Borisov,
    Yakovlev, Grigoriev, Romanov, Sergeev, Kuzmin, Frolov, Dmitriev, Korolev, Gusev,
    Kiselev, Maksimov, Polyakov, Sorokin, Belov, Antonov, Tarasov, Baranov, Komarov,
    Davydov, Osipov, Titov, Mironov, Krylov
""")

gente("af", """
    Emmanuel, Samuel, Joseph, Daniel, Michael, Stephen, Isaac, Kwame, Kofi, Kwabena,
    Yaw, Kojo, Sunday, Victor, Godwin, Chinedu, Obinna, Chukwuma, Uche, Emeka,
    Ifeanyi, Babatunde, Adebayo, Moussa, Ibrahima, Mamadou, Cheikh, Ousmane, Lamine,
    Souleymane, Abdoulaye, Serge, Roger, Joël, Bakary, Seydou, Amadou, Idrissa
""", """
    Okafor, Okonkwo, Eze, Nwosu, Adeyemi, Okoro, Balogun, Olawale, Ogunleye, Ibe,
    Uzoma, Mensah, Owusu, Asante, Addo, Osei, Agyeman, Ofori, Amoah, Diallo, Traoré,
    Coulibaly, Keita, Camara, Sow, Ndiaye, Diop, Fall, Sarr, Mbaye, Konaté, Sangaré,
    Diarra, Kamara, Bangoura, Sylla, Mbarga, Nkoulou, Ndongo, Tchami, Abega, Kalla,
    Fotso, Boakye, Quaye, Adjei
""")

# Well-known footballers (and referees) whose full names common first names and
# surnames could rebuild by chance: never used.
FAMOSOS = set(chave(n) for n in lista("""
    Rui Costa, Luís Figo, Nuno Gomes, João Pinto, Paulo Sousa, Fernando Couto, Vítor Baía,
    Jorge Costa, Sérgio Conceição, Ricardo Carvalho, Hugo Viana, Pedro Barbosa,
    Fernando Gomes, Rui Barros, Jorge Andrade, Nuno Valente, Paulo Ferreira, Bruno Alves,
    João Moutinho, Tiago Mendes, Miguel Veloso, Bruno Fernandes, Bernardo Silva,
    André Silva, Rúben Dias, João Félix, Diogo Jota, Rafael Leão, Gonçalo Ramos,
    João Cancelo, Nuno Mendes, Rúben Neves, Renato Sanches, Danilo Pereira, José Fonte,
    Rui Patrício, Hugo Almeida, Diogo Dalot, Pedro Neto, Rui Jorge, Sérgio Oliveira,
    Rui Silva, João Mário, André Gomes, Daniel Carriço, Rafael Guerreiro, Carlos Manuel,
    João Vieira Pinto, Paulo Futre, Ricardo Pereira, Pedro Mendes, Ricardo Rocha,
    Fernando Mendes, Rui Águas, Hélder Cristóvão, Nuno Capucho, Pedro Miguel, Ricardo Sá Pinto,
    Vítor Pereira, Pedro Proença, Duarte Gomes, Artur Soares Dias, Jorge Coroado,
    Ronaldo, Romário, Rivaldo, Kaká, Ronaldinho, Bebeto, Dunga, Cafu, Zico, Pelé,
    Sócrates, Careca, Neymar, Adriano, Robinho, Edmundo, Denílson, Juninho, Taffarel,
    Raí, Müller, Leonardo, Emerson, Gilberto, Edílson, Zinho, Mazinho, Branco, Jorginho,
    Aldair, Roberto Carlos, Lúcio, Vampeta, Luizão, Élber, Amoroso, Elano, Fred, Hulk,
    Oscar, Willian, Fernandinho, Paulinho, Marcelo, Thiago Silva, David Luiz, Casemiro,
    Rodrygo, Richarlison, Gabriel Jesus, Alisson, Ederson, Dida, Júlio César, Marcos,
    Rogério Ceni, Zé Roberto, Gérson, Tostão, Rivelino, Jairzinho, Garrincha, Didi,
    Vavá, Falcão, Éder, Júnior, Renato Gaúcho, Evair, Túlio, Sávio, Ricardinho, Edu,
    Felipe Melo, Ramires, Lucas, Pato, Nilmar, Luís Fabiano, Grafite, Dodô, Marcelinho,
    Luiz Gustavo, Carlos Alberto, Zé Carlos, Zé Maria, Serginho, Dudu, Tinga, Jô,
    Pepe, Deco, Nani, Maniche, Costinha, Pauleta, Vitinha, Palhinha, Otávio, Quim,
    Alan Shearer, David Beckham, Paul Scholes, Gary Neville, Michael Owen, Steven Gerrard,
    John Terry, Wayne Rooney, Frank Lampard, Paul Gascoigne, Gary Lineker, David Seaman,
    Tony Adams, Stuart Pearce, Ian Wright, David Platt, Paul Ince, Robbie Fowler,
    Gareth Southgate, Steve McManaman, Phil Neville, Andy Cole, Kevin Keegan,
    Bobby Charlton, Bobby Moore, Gordon Banks, Peter Shilton, Bryan Robson, Chris Waddle,
    John Barnes, Peter Beardsley, Mark Wright, Des Walker, Terry Butcher, Glenn Hoddle,
    Kevin Phillips, Joe Cole, Harry Kane, Jordan Henderson, Kyle Walker, John Stones,
    Luke Shaw, Declan Rice, Mason Mount, Phil Foden, Jordan Pickford, Harry Maguire,
    Ben White, Jamie Vardy, Danny Welbeck, James Milner, Gareth Barry, Michael Carrick,
    Peter Crouch, Joe Hart, Chris Smalling, Phil Jones, Ross Barkley, Danny Rose,
    Andy Carroll, Lee Dixon, Martin Keown, David James, Nigel Martyn, Steve Bruce,
    Gary Pallister, Chris Sutton, Paul Merson, Jamie Redknapp, Ian Rush, Mark Hughes,
    Ryan Giggs, Gary Speed, Craig Bellamy, Alan Smith, Lee Sharpe, Andy Gray,
    Danny Murphy, Wes Brown, Paul Robinson, Scott Parker, Glen Johnson, Darren Bent,
    Aaron Ramsey, Paul Parker, Gary Stevens, Dave Watson, Steve Bull, Ray Houghton,
    Roy Keane, Niall Quinn, Robbie Keane, Lee Bowyer, Matthew Upson, Jack Wilshere,
    Howard Webb, Mike Dean, Mark Clattenburg, Michael Oliver, Anthony Taylor, Graham Poll,
    Raúl González, Fernando Hierro, Iker Casillas, Xavi Hernández, Andrés Iniesta,
    Sergio Ramos, David Villa, Fernando Torres, Xabi Alonso, Xabi Alonso, David Silva,
    Juan Mata, Pedro Rodríguez, Jesús Navas, Santi Cazorla, Carlos Marchena,
    Álvaro Arbeloa, Raúl Albiol, Pepe Reina, Víctor Valdés, Jordi Alba, Álvaro Morata,
    Diego Costa, Dani Olmo, Luis Enrique, Julen Guerrero, Fernando Morientes,
    Iván Helguera, Rubén Baraja, David Albelda, Emilio Butragueño, Julio Salinas,
    Abelardo Fernández, Diego Tristán, Joaquín Sánchez, Javi Moreno, Dani García,
    Sergio González, Carlos Gamarra, Paco Alcácer, Iván de la Peña, Joseba Etxeberria,
    Rafael Alkorta, Aitor Karanka, Asier del Horno, Unai Emery, Andoni Zubizarreta,
    Mateu Lahoz, Roberto Baggio, Paolo Maldini, Alessandro Del Piero, Francesco Totti,
    Fabio Cannavaro, Alessandro Nesta, Andrea Pirlo, Filippo Inzaghi, Simone Inzaghi,
    Luca Toni, Daniele De Rossi, Marco Materazzi, Gianluca Zambrotta, Fabio Grosso,
    Alberto Gilardino, Vincenzo Iaquinta, Simone Perrotta, Angelo Peruzzi,
    Giuseppe Signori, Roberto Mancini, Gianluca Vialli, Franco Baresi, Giuseppe Bergomi,
    Walter Zenga, Salvatore Schillaci, Roberto Donadoni, Antonio Conte, Ciro Ferrara,
    Enrico Chiesa, Federico Chiesa, Marco Delvecchio, Vincenzo Montella, Stefano Fiore,
    Massimo Ambrosini, Marco Di Vaio, Antonio Cassano, Giorgio Chiellini,
    Leonardo Bonucci, Andrea Barzagli, Marco Verratti, Lorenzo Insigne,
    Giovanni Di Lorenzo, Marco Tardelli, Paolo Rossi, Bruno Conti, Claudio Gentile,
    Luigi Riva, Roberto Di Matteo, Massimo Oddo, Marco Amelia, Daniele Bonera,
    Riccardo Montolivo, Claudio Marchisio, Federico Marchetti, Salvatore Sirigu,
    Lorenzo Pellegrini, Domenico Berardi, Francesco Acerbi, Andrea Belotti,
    Antonio Candreva, Marco Borriello, Giuseppe Rossi, Fabio Quagliarella,
    Luca Marchegiani, Francesco Toldo, Marco Simone, Massimo Orlando, Stefano Farina,
    Nicola Rizzoli, Daniele Orsato, Gianluca Rocchi, Roberto Rosetti, Angelo Di Livio,
    Moreno Torricelli, Gianni Rivera, Marco Parolo, Alessio Cerci, Davide Frattesi,
    Thomas Müller, Michael Ballack, Oliver Kahn, Jens Lehmann, Christian Ziege,
    Andreas Möller, Matthias Sammer, Stefan Effenberg, Thomas Helmer, Oliver Bierhoff,
    Lukas Podolski, Timo Werner, Kai Havertz, Jonas Hofmann, Florian Wirtz,
    Torsten Frings, Bernd Schneider, Sebastian Kehl, Oliver Neuville, Stefan Reuter,
    Thomas Linke, Frank Baumann, Lars Ricken, Marcel Schmelzer, Felix Magath,
    Markus Babbel, Jens Nowotny, Dieter Hoeness, Frank Rost, Andreas Brehme, Uwe Seeler,
    Felix Brych, Markus Merk, Stefan Kuntz, Christian Wörns, Manuel Neuer, Patrick Owomoyela,
    Dennis Aogo, Benjamin Pavard, Philipp Lahm,
    Thierry Henry, Laurent Blanc, Didier Deschamps, Fabien Barthez, Christophe Dugarry,
    Patrick Vieira, Bernard Lama, Michel Platini, Jean Tigana, Nicolas Anelka,
    Antoine Griezmann, Olivier Giroud, Lucas Hernandez, Mathieu Valbuena, Hugo Lloris,
    Jérôme Rothen, Sylvain Wiltord, Franck Ribéry, Florian Thauvin, Robert Pirès,
    Marc Planus, Philippe Mexès, Jean-Pierre Papin, Alain Giresse, Didier Drogba,
    Ruud Gullit, Frank Rijkaard, Ronald Koeman, Frank de Boer, Ronald de Boer, Jaap Stam,
    Johan Cruijff, Wesley Sneijder, Dirk Kuyt, Edwin van der Sar, Patrick Kluivert,
    Wim Jonk, Jan Wouters, Frenkie de Jong, Luuk de Jong, Siem de Jong, Bas Dost,
    Nigel de Jong, Stefan de Vrij, Wim Kieft, Daan Jansen, Theo Janssen, Bjorn Kuipers,
    Björn Kuipers, Pieter Vink, Jeroen Zoet, Kees Rijvers, Erik ten Hag,
    Gabriel Batistuta, Hernán Crespo, Javier Zanetti, Claudio López, Ariel Ortega,
    Marcelo Gallardo, Diego Simeone, Matías Almeyda, Pablo Aimar, Javier Saviola,
    Carlos Tevez, Sergio Agüero, Gonzalo Higuaín, Javier Mascherano, Walter Samuel,
    Gabriel Heinze, Martín Demichelis, Sergio Romero, Emiliano Martínez,
    Lautaro Martínez, Nicolás Otamendi, Cristian Romero, Diego Milito, Gabriel Milito,
    Fernando Gago, Claudio Caniggia, Ariel Garcé, Hugo Ibarra, Martín Palermo,
    Diego Forlán, Luis Suárez, Diego Lugano, Diego Godín, Rubén Sosa, Gustavo Poyet,
    Sebastián Battaglia, Ramón Díaz, Hernán Díaz, Néstor Pitana, Nahuel Molina,
    Federico Valverde, Darwin Núñez, Nicolás Burdisso, Lucas Biglia, Ezequiel Lavezzi,
    Fabián Cubero, Rodrigo Palacio, Leandro Paredes, Germán Pezzella, Julio Cruz,
    Henrik Larsson, Martin Dahlin, Patrik Andersson, Kim Källström, Anders Svensson,
    Jari Litmanen, Sami Hyypiä, Teemu Pukki, Morten Olsen, Anders Frisk, Jonas Eriksson,
    Martin Jørgensen, Thomas Helveg, Per Mertesacker, Erik Thorstvedt, Henning Berg,
    Kim Milton Nielsen, Magnus Hedman, Ola Toivonen, Emil Forsberg, Viktor Claesson,
    Hakan Şükür, Tuncay Şanlı, Hasan Şaş, Arda Turan, Burak Yılmaz, Volkan Demirel,
    Emre Belözoğlu, Cüneyt Çakır, Ümit Davala, Okan Buruk, Mert Günok, Kaan Ayhan,
    Davor Šuker, Zvonimir Boban, Robert Prosinečki, Slaven Bilić, Igor Štimac,
    Mario Stanić, Goran Vlaović, Luka Modrić, Ivan Rakitić, Mario Mandžukić, Ivan Perišić,
    Dejan Lovren, Dejan Stanković, Dejan Savićević, Dragan Stojković, Siniša Mihajlović,
    Nemanja Vidić, Aleksandar Kolarov, Dušan Tadić, Dušan Vlahović, Aleksandar Mitrović,
    Edin Džeko, Darko Kovačević, Vladimir Jugović, Predrag Mijatović, Nikola Kalinić,
    Andrei Arshavin, Aleksandr Kerzhakov, Igor Akinfeev, Roman Pavlyuchenko, Yuri Zhirkov,
    Sergei Ignashevich, Aleksei Smertin, Dmitri Alenichev, Viktor Onopko, Valeri Karpin,
    Igor Denisov, Denis Glushakov, Aleksei Berezutski, Vasili Berezutski, Roman Shirokov,
    Samuel Kuffour, Stephen Appiah, Michael Essien, Sulley Muntari, Abedi Pele,
    Sunday Oliseh, Daniel Amokachi, Victor Ikpeba, Emmanuel Amunike, Joseph Yobo,
    Victor Osimhen, Samuel Eto, Roger Milla, Seydou Keita, Yaya Touré, Kolo Touré,
    Mamadou Sakho, Cheikh Kouyaté, Idrissa Gueye, Moussa Sissoko, Moussa Dembélé,
    Mamadou Niang, Lamine Diatta, Ibrahima Konaté, Souleymane Diawara, Kwadwo Asamoah,
    Emmanuel Adebayor, Emmanuel Eboué, Samuel Inkoom, Isaac Vorsah, Daniel Opare
"""))


# --------------------------------------------------------------------------
# Drawing names.

class Nomeador:
    """Draws player names for one club set, never the same name twice."""

    def __init__(self, rng, usados=None):
        self.rng = rng
        self.usados = set() if usados is None else usados
        self.alcunhas_usadas = set()

    def _livre(self, nome, maximo):
        k = chave(nome)
        return (nome_valido(nome, maximo) and k not in self.usados and k not in FAMOSOS)

    def _tentativa(self, nac, formal):
        r, n = self.rng, NOMES[nac]
        x = r.random()
        p, a = r.choice(n["primeiros"]), r.choice(n["apelidos"])
        if formal:
            # Officials: first name and surname, Iberians often two surnames.
            if nac in ("pt", "br", "es") and x < 0.45:
                return f"{p} {a} {r.choice(n['apelidos'])}"
            return f"{p} {a}"
        if nac == "pt":
            if x < 0.70:
                return f"{p} {a}"
            if x < 0.78:
                return r.choice(n["compostos"])
            if x < 0.90:
                return f"{r.choice(n['curtos'])} {a}"
            return r.choice(n["alcunhas"])
        if nac == "br":
            if x < 0.38:
                return f"{p} {a}"
            if x < 0.46:
                return r.choice(n["compostos"])
            if x < 0.66:
                return f"{r.choice(n['curtos'])} {a}"
            if x < 0.76:
                return f"{r.choice(n['alcunhas'])} {r.choice(n['regioes'])}"
            return r.choice(n["alcunhas"])
        if nac == "es":
            if x < 0.62:
                return f"{p} {a}"
            if x < 0.92:
                return f"{r.choice(n['curtos'])} {a}"
            return r.choice(n["alcunhas"])
        return f"{p} {a}"

    def novo(self, nac, maximo=MAX_JOGADOR, formal=False):
        for _ in range(500):
            nome = self._tentativa(nac, formal)
            if self._livre(nome, maximo):
                self.usados.add(chave(nome))
                return nome
        raise RuntimeError(f"sem nomes livres para {nac}")


# --------------------------------------------------------------------------
# Clubs.

def escolher(rng, pesos):
    total = sum(p for _, p in pesos)
    x = rng.random() * total
    for valor, p in pesos:
        x -= p
        if x < 0:
            return valor
    return pesos[-1][0]


def _proibido_real(nome):
    palavras = set(chave(nome).replace("-", " ").split())
    return any(chave(r) in palavras for r in NOMES_DE_CLUBES_REAIS)


class Fabrica_Clubes:
    """Builds club names of one country from its towns, in a fixed order."""

    def __init__(self, cc, rng):
        self.cc = cc
        self.rng = rng
        self.cidades = list(PAISES[cc]["cidades"])
        rng.shuffle(self.cidades)
        self.padroes = PAISES[cc]["padroes"]

    def proximo(self, usados):
        while self.cidades:
            cidade = self.cidades.pop(0)
            primeiro = escolher(self.rng, self.padroes)
            outros = [p for p, _ in self.padroes if p != primeiro]
            self.rng.shuffle(outros)
            for padrao in [primeiro] + outros:
                nome = padrao.format(t=cidade)
                if (nome_valido(nome, MAX_CLUBE) and chave(nome) not in usados
                        and not _proibido_real(nome)):
                    usados.add(chave(nome))
                    return nome
        raise RuntimeError(f"faltam cidades para {self.cc}")


class Clube:
    def __init__(self, nome, nac, div=0, qualidade=0.5):
        self.nome = nome
        self.nac = nac            # nationality of most of its players
        self.div = div
        self.qualidade = qualidade  # 0..1 within its division
        self.estadio = 0
        self.plantel = []


def lotacao(rng, div, q):
    lo, hi = FAIXA_ESTADIO[div]
    x = min(1.0, max(0.0, 0.55 * q + 0.45 * rng.random()))
    return int(round(lo + (hi - lo) * x ** 1.5))


def dividir(rng, clubes):
    """Gives the first 18 division 1, the next 18 division 2, the last 18
    division 3, and each a quality by its rank inside the division."""
    for i, c in enumerate(clubes):
        c.div = 1 + i // 18
        rank = i % 18
        c.qualidade = min(1.0, max(0.0, 1 - rank / 17 + rng.uniform(-0.08, 0.08)))
        c.estadio = lotacao(rng, c.div, c.qualidade)


# --------------------------------------------------------------------------
# Squads.

IDADES_CAMPO = {18: 2, 19: 4, 20: 6, 21: 7, 22: 8, 23: 8, 24: 8, 25: 8, 26: 8, 27: 8,
                28: 7, 29: 7, 30: 6, 31: 5, 32: 4, 33: 3, 34: 2, 35: 1, 36: 0.5}
IDADES_GR = {18: 1, 19: 2, 20: 3, 21: 4, 22: 5, 23: 6, 24: 6, 25: 7, 26: 7, 27: 7,
             28: 7, 29: 7, 30: 7, 31: 6, 32: 6, 33: 5, 34: 4, 35: 3, 36: 2, 37: 1}
POSICOES = ["gk", "df", "md", "av"]


def composicao(rng):
    """Squad shape: 2-3 gk, 6-8 df, 6-8 md, 4-6 av, 19 to 22 in all."""
    while True:
        n = {"gk": 2 if rng.random() < 0.55 else 3, "df": rng.randint(6, 8),
             "md": rng.randint(6, 8), "av": rng.randint(4, 6)}
        if 19 <= sum(n.values()) <= 22:
            return n


def contrato(rng, idade):
    if idade >= 32:
        return escolher(rng, [(1, 5), (2, 4), (3, 1)])
    if idade <= 22:
        return escolher(rng, [(2, 2), (3, 3), (4, 3), (5, 2)])
    return escolher(rng, [(1, 2), (2, 3), (3, 3), (4, 2), (5, 1)])


def forca(rng, clube, idade):
    lo, hi = FAIXA_FORCA[clube.div]
    largura = hi - lo
    media = lo + largura * (0.30 + 0.32 * clube.qualidade)
    if idade <= 20:
        media -= 3
    elif 26 <= idade <= 30:
        media += 2
    elif idade >= 33:
        media -= 2
    valor = rng.gauss(media, largura * 0.15)
    return int(min(hi, max(lo, round(valor))))


def plantel(rng, clube, nomeador, nacionalidade):
    jogadores = []
    quantos = composicao(rng)
    for pos in POSICOES:
        for _ in range(quantos[pos]):
            idade = escolher(rng, list((IDADES_GR if pos == "gk" else IDADES_CAMPO).items()))
            nome = nomeador.novo(nacionalidade(rng, clube))
            jogadores.append([nome, clube.nome, pos, forca(rng, clube, idade), idade,
                              contrato(rng, idade)])
    return jogadores


def usar_faixa_toda(clubes):
    """Each division uses its whole strength range: the best player of its best
    club gets the top value, the weakest of its weakest club the bottom one."""
    for div, (lo, hi) in FAIXA_FORCA.items():
        da_div = [c for c in clubes if c.div == div]
        melhor = max(da_div, key=lambda c: c.qualidade)
        pior = min(da_div, key=lambda c: c.qualidade)
        max(melhor.plantel, key=lambda j: j[3])[3] = hi
        min(pior.plantel, key=lambda j: j[3])[3] = lo


def nacionalidade_da_casa(rng, clube):
    return clube.nac


NACIONALIDADES_MUNDO = [("pt", 3), ("br", 5), ("en", 4), ("es", 4), ("it", 4), ("de", 4),
                        ("fr", 4), ("nl", 3), ("ar", 4), ("sc", 2), ("tr", 2), ("bk", 3),
                        ("ru", 2), ("af", 3)]


def nacionalidade_mundo(rng, clube):
    # A world selection: mostly players of the club's own country, with
    # foreigners from everywhere.
    return clube.nac if rng.random() < 0.6 else escolher(rng, NACIONALIDADES_MUNDO)


# --------------------------------------------------------------------------
# Club sets.

def conjunto_nacional(cc, semente):
    rng = random.Random(semente)
    fab = Fabrica_Clubes(cc, rng)
    usados = set()
    clubes = [Clube(fab.proximo(usados), cc) for _ in range(54)]
    dividir(rng, clubes)
    extra = [fab.proximo(usados) for _ in range(10)]
    return rng, clubes, extra


# How many clubs of each country the world selection takes, and the
# countries its 10 cup-only clubs come from.
MUNDO_DE_CONJUNTOS = {"pt": 4, "br": 4, "en": 4, "es": 4, "it": 4}
MUNDO_NOVOS = {"de": 7, "fr": 6, "nl": 4, "ar": 5, "sc": 3, "tr": 3, "bk": 3, "ru": 2, "af": 1}
MUNDO_TACA = ["de", "fr", "nl", "ar", "sc", "tr", "bk", "ru", "af", "af"]
PRESTIGIO = {"en": 0.9, "es": 0.9, "it": 0.9, "de": 0.85, "pt": 0.75, "br": 0.75,
             "fr": 0.7, "ar": 0.7, "nl": 0.65, "tr": 0.5, "ru": 0.5, "bk": 0.45,
             "sc": 0.4, "af": 0.35}


def conjunto_mundo(nacionais, semente):
    """The world selection: the strongest clubs of the five national sets plus
    clubs of other countries, ranked into divisions by a country prestige."""
    rng = random.Random(semente)
    usados = set()
    clubes = []
    for cc, n in MUNDO_DE_CONJUNTOS.items():
        primeira = sorted((c for c in nacionais[cc] if c.div == 1), key=lambda c: -c.qualidade)
        for c in primeira[:n]:
            usados.add(chave(c.nome))
            clubes.append(Clube(c.nome, cc))
    fabricas = {cc: Fabrica_Clubes(cc, rng) for cc in MUNDO_NOVOS}
    for cc, n in MUNDO_NOVOS.items():
        for _ in range(n):
            clubes.append(Clube(fabricas[cc].proximo(usados), cc))
    valor = {c.nome: PRESTIGIO[c.nac] + 0.45 * rng.random() for c in clubes}
    clubes.sort(key=lambda c: -valor[c.nome])
    dividir(rng, clubes)
    extra = [fabricas[cc].proximo(usados) for cc in MUNDO_TACA]
    return rng, clubes, extra


def ordem_alfabetica(clubes):
    return sorted(clubes, key=lambda c: (c.div, chave(c.nome)))


# --------------------------------------------------------------------------
# Fixture template: circle method for 18 slots.

def jornadas(n=18):
    """Single round robin of n slots (n even) by the circle method: slot n stays
    put, the others turn.  In round r the fixed slot meets slot r and the pairs
    are (r+k, r-k).  Home goes to r+k for odd k and to r-k for even k, so each
    turning slot alternates except once, around its game with the fixed slot;
    the fixed slot alternates and swaps its rhythm once, in the middle, so no
    break falls on the first or last matchday (where the mirrored second half
    would make it three in a row).  This gives n-2 breaks, the least possible."""
    m = n - 1
    meio = m // 2
    rondas = []
    for r in range(m):
        fixo_em_casa = (r % 2 == 1) if r < meio else (r % 2 == 0)
        jogos = [(n - 1, r) if fixo_em_casa else (r, n - 1)]
        for k in range(1, n // 2):
            a, b = (r + k) % m, (r - k) % m
            jogos.append((a, b) if k % 2 == 1 else (b, a))
        rondas.append(jogos)
    return rondas


def modelo_calendario():
    primeira = jornadas(18)
    linhas = []
    for j, jogos in enumerate(primeira, start=1):
        for casa, fora in jogos:
            linhas.append((j, casa + 1, fora + 1))
    volta = len(primeira)
    for j, jogos in enumerate(primeira, start=1):
        for casa, fora in jogos:
            linhas.append((j + volta, fora + 1, casa + 1))
    return linhas


# --------------------------------------------------------------------------
# Output.

def escrever(pasta, nome, cabecalho, linhas):
    caminho = os.path.join(pasta, nome)
    with open(caminho, "w", encoding="utf-8", newline="\n") as f:
        f.write("\t".join(cabecalho) + "\n")
        for linha in linhas:
            campos = [str(x) for x in linha]
            assert all("\t" not in c and "\n" not in c for c in campos), linha
            f.write("\t".join(campos) + "\n")
    return caminho


def main():
    pasta = sys.argv[1] if len(sys.argv) > 1 else PASTA_SEMENTES
    os.makedirs(pasta, exist_ok=True)

    todos_nomes = set()   # every player name of every set, to keep the pool apart
    nacionais = {}
    for i, cc in enumerate(CONJUNTOS):
        if cc == "wd":
            rng, clubes, extra = conjunto_mundo(nacionais, 9900 + i)
            escolha_nac = nacionalidade_mundo
        else:
            rng, clubes, extra = conjunto_nacional(cc, 9900 + i)
            escolha_nac = nacionalidade_da_casa
            nacionais[cc] = clubes
        clubes = ordem_alfabetica(clubes)
        nomeador = Nomeador(rng)
        for c in clubes:
            c.plantel = plantel(rng, c, nomeador, escolha_nac)
        usar_faixa_toda(clubes)
        todos_nomes |= nomeador.usados

        escrever(pasta, f"clubes_{cc}.tsv", ["clube", "div", "cap_estadio"],
                 [(c.nome, c.div, c.estadio) for c in clubes])
        escrever(pasta, f"Clubes_Taca_{cc}.tsv", ["clube"],
                 [(c.nome,) for c in clubes] + [(e,) for e in extra])
        escrever(pasta, f"jogadores_{cc}.tsv",
                 ["nome", "equipa", "pos", "forca", "idade", "contrato"],
                 [j for c in clubes for j in c.plantel])

    escrever(pasta, "jor_aux.tsv", ["jor", "casa", "fora"], modelo_calendario())

    # Referee trios: a referee and two assistants, from many countries.
    rng = random.Random(9950)
    arbitros = Nomeador(rng, usados=set(todos_nomes))
    paises_arb = [("pt", 3), ("br", 2), ("en", 3), ("es", 3), ("it", 3), ("de", 2),
                  ("fr", 2), ("nl", 1), ("ar", 1), ("sc", 1), ("tr", 1), ("bk", 1), ("ru", 1)]

    trios = []
    for _ in range(30):
        nac = escolher(rng, paises_arb)
        trios.append(tuple(arbitros.novo(nac, MAX_ARBITRO, formal=True) for _ in range(3)))
    escrever(pasta, "arbitros.tsv", ["ap", "aux1", "aux2"], trios)

    # Pool of names for players created during a game: 600, all new.
    rng = random.Random(9960)
    pool = Nomeador(rng, usados=set(todos_nomes))
    nomes = [pool.novo(escolher(rng, NACIONALIDADES_MUNDO)) for _ in range(600)]
    escrever(pasta, "jogadores_all.tsv", ["nome_1"], [(n,) for n in nomes])

    print(f"sementes escritas em {pasta}")


if __name__ == "__main__":
    main()
