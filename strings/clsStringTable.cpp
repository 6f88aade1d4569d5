#include "strings/clsStringTable.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <string_view>

namespace {

struct TStringEntry
{
    std::int32_t id;
    std::u16string_view text;
};

// Kept in order of id for the binary search. The texts are UTF-16 literals so
// that the umlauts do not depend on any locale at run time.
constexpr std::array<TStringEntry, 140> stringTable{{
    {1000, u"Vuzuzidazerezeda V 0.01"},
    {2000, u"OK"},
    {2001, u"Abbrechen"},
    {2002, u"Übernehmen"},
    {2100, u"Personen"},
    {2101, u"## Gelöscht ##"},
    {2102, u"(nein)"},
    {2103, u"Pause!"},
    // The persons dialog takes the header of column i from 2110 + i.
    {2110, u"Name"},
    {2111, u"Geschw."},
    {2112, u"Fitness"},
    {2113, u"Last"},
    {2114, u"Maximallast"},
    {2115, u"Position"},
    {2116, u"Home Länge"},
    {2117, u"Zufriedenheit"},
    {2200, u"macht Pause!"},
    // The status bar.
    {2300, u"Zeit"},
    {2301, u"Quelle"},
    {2302, u"in Händen"},
    {2303, u"geliefert"},
    {2304, u"fertig nach Schritt"},
    // The panel of the selected person.
    {2310, u"Zustand"},
    {2311, u"geht"},
    {2312, u"gibt ab"},
    {2313, u"nimmt an"},
    {2314, u"Last"},
    {2315, u"Position"},
    {2316, u"Heimbereich"},
    {2317, u"Geschwindigkeit"},
    {2318, u"Wie in der Personenliste mal 100: Position und Heimbereich in Hundertstel der Wegeinheit, "
           u"Geschwindigkeit in Hundertstel je Schritt, Last in Prozent einer Standardlast"},
    {2320, u"Szenario-Dateien (*.json)"},
    // The chart dock.
    {2330, u"Verlauf"},
    {2331, u"Geliefert"},
    {2332, u"Obergrenze"},
    {2333, u"Lasten pro Minute"},
    {2334, u"Simulierte Zeit (h:mm)"},
    {2335, u"Lasten"},
    // The window's title while the built-in move stands in for a refused file.
    {2340, u"%1 abgelehnt – eingebauter Umzug"},
    // The legend dock.
    {2350, u"Legende"},
    {2351, u"Quelle: die alte Wohnung mit ihren Lasten"},
    {2352, u"Ziel: die neue Wohnung"},
    {2353, u"Person: Balken so hoch wie ihre Fitness, Name darunter"},
    {2354, u"eine Last"},
    {2355, u"Heimbereich einer Person, in ihrer Farbe"},
    {2356, u"Person macht Pause"},
    {2357, u"Treppe"},
    {2358, u"ebener Weg"},
    {2359, u"Personen"},
    {2390, u"steht still seit Schritt"},
    // A refused scenario file: the place, then one text per kind of fault.
    {2401, u"Zeile %1, Spalte %2"},
    {2402, u"oberste Ebene"},
    {2410, u"lässt sich nicht öffnen: %1"},
    {2411, u"lässt sich nicht lesen: %1"},
    {2412, u"größer als die %1 MiB, die eine Szenario-Datei haben darf"},
    {2413, u"die Datei ist leer"},
    {2414, u"die Datei endet vor ihrem JSON; ist sie abgeschnitten?"},
    {2415, u"kein gültiges JSON"},
    {2416, u"doppelter Schlüssel"},
    {2417, u"erwartet: %1, gefunden: %2"},
    {2418, u"unbekannter Schlüssel; erlaubt sind hier %1"},
    {2419, u"fehlt, und es gibt keinen Vorgabewert"},
    {2420, u"keine endliche Zahl"},
    {2421, u"unbekannte Art %1; möglich sind %2"},
    {2422, u"%1 muss eine ganze Zahl von %2 bis %3 sein"},
    {2423, u"muss eine Zeile ohne Steuerzeichen sein"},
    {2424, u"%1 muss größer als 0 sein"},
    {2425, u"%1 darf nicht kleiner als 0 sein"},
    {2426, u"%1 liegt nicht auf dem Weg, der von 0 bis %2 reicht"},
    {2427, u"%1 ist mehr, als eine Person tragen kann (%2)"},
    {2428, u"die letzte Person der Gruppe ginge mit %1"},
    {2429, u"ein Name darf nicht leer sein"},
    {2430, u"%1 Namen für %2 Personen"},
    {2431, u"kein Wegabschnitt; der Weg braucht mindestens einen"},
    {2432, u"keine Person; der Umzug braucht mindestens eine"},
    {2433, u"insgesamt %1 Personen, mehr als %2"},
    {2434, u"die Abschnitte ergeben zusammen %1, länger als jeder Weg sein kann"},
    // JSON's types, as a refusal names them.
    {2440, u"ein Objekt"},
    {2441, u"eine Liste"},
    {2442, u"ein Text"},
    {2443, u"eine Zahl"},
    {2444, u"ein Wahrheitswert"},
    {2445, u"null"},
    // The report of a move.
    {2500, u"Bericht"},
    {2501, u"Die letzte von %1 Lasten wurde in Schritt %2 geliefert, nach %3 simulierter Zeit."},
    {2502, u"Nicht fertig: %1 von %2 Lasten geliefert nach %3 Schritten (%4 simulierter Zeit)."},
    {2503, u"Der Umzug steht still: seit Schritt %1 (%2) hat keine Last mehr die Hände gewechselt."},
    {2504, u"%1 Lasten pro simulierter Minute, %2 % der Obergrenze von %3"},
    {2505, u"Viertel %1, Schritte %2 bis %3: %4 Lasten, %5 pro Minute"},
    // The report's table takes the header of column i from 2510 + i.
    {2510, u"Name"},
    {2511, u"Geschw."},
    {2512, u"trägt"},
    {2513, u"geht leer"},
    {2514, u"gibt ab"},
    {2515, u"nimmt an"},
    {2516, u"Pause"},
    {2517, u"Pausen"},
    {2518, u"gegründet"},
    {2519, u"aufgegeben"},
    {2520, u"verschoben"},
    {2521, u"Anteile der Schritte in Prozent; Pausen gezählt; Heimbereich gegründet, aufgegeben und von Nachbarn verschoben"},
    // The timeline and the exports.
    {2800, u"Die Datei „%1“ lässt sich nicht schreiben."},
    {2801, u"%1 · %2 Lasten geliefert"},
    {2802, u"Zeitleiste"},
    {2803, u"PNG-Bild (*.png);;SVG-Bild (*.svg)"},
    {2804, u"CSV-Dateien (*.csv)"},
    {2805, u"Textdateien (*.txt)"},
    {2806, u"Bildgröße in Pixeln (Breite x Höhe):"},
    {2807, u"„%1“ ist keine Bildgröße; erwartet wird etwa 800x600, höchstens %2 Pixel je Seite."},
    {2808, u"Die Datei „%1“ wird geschrieben..."},
    {50000, u"Datei"},
    {50010, u"Szenario ö&ffnen..."},
    {50020, u"&Beenden"},
    {50030, u"&Exportieren"},
    {50031, u"&Ansicht als Bild..."},
    {50032, u"&Verlauf als Bild..."},
    {50033, u"Verlauf als &CSV..."},
    {50034, u"&Spur als CSV..."},
    {50035, u"&Bericht als Text..."},
    {50100, u"Bearbeiten"},
    {50110, u"Personen..."},
    {50130, u"&Kopieren"},
    {50200, u"?"},
    {50210, u"Über..."},
    {50300, u"&Simulation"},
    {50310, u"&Pause"},
    {50311, u"&Weiter"},
    {50320, u"&Einzelschritt"},
    // The speeds, in the order of TfrmMain's factors.
    {50330, u"&1× (25 Schritte/s)"},
    {50331, u"&2×"},
    {50332, u"&5×"},
    {50333, u"2&0×"},
    {50334, u"&so schnell wie möglich"},
    {50340, u"&Neu starten"},
    {50400, u"&Ansicht"},
    {50410, u"&Werkzeugleiste"},
    {50420, u"&Verlauf"},
    {50430, u"&Legende"},
    {50431, u"&Zeitleiste"},
    {50432, u"&Bericht"},
}};

static_assert(std::ranges::adjacent_find(stringTable, std::ranges::greater_equal{}, &TStringEntry::id)
                  == stringTable.end(),
              "string table ids must be unique and in ascending order");

} // namespace

QString GetStringById(std::int32_t id)
{
    const auto entry = std::ranges::lower_bound(stringTable, id, {}, &TStringEntry::id);
    if (entry == stringTable.end() || entry->id != id)
        return {};
    return QStringView(entry->text.data(), qsizetype(entry->text.size())).toString();
}
