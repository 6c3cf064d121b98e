// The wording of the report's fixed sections. Each is one paragraph; each must keep its opening
// sentence as it stands (the two blanks after "mediante" in A included): the rest may be
// reworded freely, in the report's formal register.

#include "reporttexts.h"

#include <modelkind.h>

namespace urbaflux {

QString reportTextA()
{
    return QStringLiteral(
        "La presente elaborazione è stata realizzata mediante  l'ausilio di un computer. "
        "Le interazioni tra le aree dello studio sono state calcolate con un modello analitico "
        "di tipo gravitazionale, costruito per analogia con la legge di Newton sulla "
        "gravitazione universale, secondo la quale due corpi si attraggono con una forza "
        "direttamente proporzionale al prodotto delle loro masse e inversamente proporzionale "
        "al quadrato della loro distanza. Nel modello urbanistico le masse non sono grandezze "
        "fisiche, ma variabili che esprimono la propensione di ciascuna origine a dirigersi "
        "verso ciascuna destinazione: residenti, addetti, posti di lavoro, superfici "
        "commerciali o altri indicatori adatti al fenomeno studiato. La distanza, a sua volta, "
        "può essere misurata come lunghezza del percorso, come tempo di viaggio oppure come "
        "un'altra grandezza che rappresenti il costo dello spostamento, ad esempio il denaro "
        "speso.");
}

QString reportTextB1()
{
    return QStringLiteral(
        "In questa elaborazione si è usato il modello 'a origine e destinazione vincolate'. "
        "Per ciascuna area sono stati immessi i valori rilevati sia delle origini sia delle "
        "destinazioni, e il calcolo, per approssimazioni successive, ha determinato "
        "l'interazione di ogni origine con tutte le altre aree considerate come destinazioni. "
        "Il modello è doppiamente vincolato: i totali delle origini e delle destinazioni "
        "calcolati per ogni area coincidono con i totali rilevati, a meno dello scarto ammesso "
        "nel calcolo. Per questo motivo il totale delle origini deve essere uguale al totale "
        "delle destinazioni, condizione che il programma verifica prima di procedere con "
        "l'elaborazione. Il risultato è la misura delle interazioni tra le zone, coerente con "
        "entrambi i dati di partenza.");
}

QString reportTextB2()
{
    return QStringLiteral(
        "In questa elaborazione si è usato il modello 'a destinazione vincolata'. "
        "L'attrazione esercitata da ciascuna area è vincolata ai valori delle destinazioni, "
        "che rappresentano i dati rilevati, mentre i valori delle origini sono stime libere, "
        "espresse in unità arbitrarie ma tra loro proporzionali, che indicano soltanto il peso "
        "relativo di ciascuna area come generatrice di spostamenti. Il calcolo attribuisce "
        "quindi a ogni destinazione il suo valore rilevato, ripartendolo tra le origini in "
        "ragione delle loro stime e delle distanze. Ne consegue che il totale delle interazioni "
        "coincide soltanto con il totale delle destinazioni, e che le origini risultanti dal "
        "modello vanno lette come stime del fenomeno e non come valori osservati.");
}

QString reportTextB3()
{
    return QStringLiteral(
        "In questa elaborazione si è usato il modello 'a origine vincolata'. "
        "I valori delle origini sono dati rilevati e l'attrazione delle diverse aree viene "
        "misurata rispetto ad essi: ogni origine distribuisce il proprio valore tra tutte le "
        "destinazioni in ragione della loro capacità di attrazione e della distanza. I valori "
        "delle destinazioni sono invece stime, espresse in unità libere ma tra loro "
        "proporzionali, che misurano il peso relativo di ciascuna area come polo di attrazione. "
        "Per questo soltanto i totali delle origini coincidono con i totali calcolati dal "
        "modello, mentre i volumi in entrata di ogni area sono il risultato dell'elaborazione "
        "e ne costituiscono la parte più significativa per la lettura del territorio.");
}

QString reportTextB(int kind)
{
    switch (static_cast<ModelKind>(kind)) {
    case ModelKind::DestinationConstrained:
        return reportTextB2();
    case ModelKind::OriginConstrained:
        return reportTextB3();
    default:
        return reportTextB1();
    }
}

QString reportTextC()
{
    return QStringLiteral(
        "La propensione dei soggetti alla gravitazione viene valutata con l'esponente della "
        "distanza, generalmente il numero 2. Quanto più piccolo è l'esponente, tanto maggiore "
        "è la propensione allo spostamento: la distanza pesa meno e le aree lontane conservano "
        "una parte rilevante delle interazioni. Al contrario, un esponente più grande accentua "
        "l'effetto frenante della distanza, spostando la gravitazione verso le aree più vicine "
        "e sottraendola a quelle più lontane. Questo comportamento vale per ciascuno dei tre "
        "modelli, qualunque siano i vincoli adottati sulle origini e sulle destinazioni. La "
        "scelta dell'esponente va quindi fatta in relazione al fenomeno studiato e al mezzo di "
        "trasporto prevalente, e può essere verificata confrontando i risultati con i dati "
        "osservati.");
}

QString reportTextD()
{
    return QStringLiteral(
        "Questo modello analitico urbanistico può essere utile sia per l'indagine sulla realtà "
        "contemporanea, sia per lo studio delle ipotesi future e, quindi, per la progettazione. "
        "Modificando una parte dei dati immessi, come le distanze, i pesi dei percorsi o i "
        "valori delle origini e delle destinazioni, si ottengono immediatamente simulazioni "
        "delle scelte di piano, ad esempio l'apertura di una nuova strada, la localizzazione di "
        "un servizio o l'espansione di un quartiere. I risultati richiedono tuttavia un'analisi "
        "attenta: i numeri delle tabelle vanno letti insieme ai grafici e ai diagrammi delle "
        "gravitazioni, che permettono di riconoscere a colpo d'occhio le relazioni principali "
        "tra le aree e di valutare il peso delle singole ipotesi rispetto alla situazione di "
        "partenza.");
}

} // namespace urbaflux
