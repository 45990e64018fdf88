#include "texts/texts.h"

namespace texts {

using enum Text;

// The terms are those of the Finnish window and language file: "Haljennut betoni", "TAPAUS".
extern constexpr Entry FinnishTable[] = {
    {FileValueText, "teksti"},
    {FileValueList, "luettelo"},
    {FileValueObject, "olio"},
    {FileValueMissing, "puuttuu"},
    {FileSeveralLines, "monirivinen teksti tai merkki, jota mikään kenttä ei pidä"},
    {FileNotUtf8, "se ei ole UTF-8-tekstiä"},
    {FileNotJson, "se ei ole JSONia (%1 tavun %2 kohdalla)"},
    {FileNotObject, "se ei ole Kiila-mitoitus (ei JSON-olio)"},
    {FileNoFormat, "se ei ole Kiila-mitoitus (ei \"format\": \"%1\")"},
    {FileBadVersion, "\"version\": %1, ei kokonaisluku 1:stä ylöspäin"},
    {FileNewerVersion,
     "se on versiota %1, jonka uudempi Kiila on kirjoittanut; tämä lukee versiota %2"},
    {FileBadArrangement, "\"arrangement\": %1, ei 1–7"},
    {FileBadCracked, "\"cracked\": %1, ei true eikä false"},
    {FileBadInputs, "\"inputs\": %1, ei olio"},
    {FileBadInput, "syöte %1: %2, ei kentän yksirivinen teksti"},
    {FileLongInput, "syöte %1 on %2 merkin teksti, pidempi kuin kentän %3 merkkiä"},
    {FileBadProject, "\"project\": %1, ei yksirivinen teksti"},
    {FileCannotOpen, "mitoitusta '%1' ei voi avata: %2"},
    {FileNotRegular, "se ei ole tavallinen tiedosto"},
    {FileTooLarge, "se on suurempi kuin 64 KiB"},
    {FileCannotWrite, "tiedostoa '%1' ei voi kirjoittaa: %2"},
    {FileUnwritableInput, "tiedostoa '%1' ei voi kirjoittaa: syöte %2 sisältää rivinvaihdon tai "
                          "merkin, jota mitoitustiedosto ei voi säilyttää"},
    {FileNotReadBack, "mitoitus ei lukeutuisi takaisin sellaisenaan"},
    {FileWouldBeTooLarge, "tiedostoa '%1' ei voi kirjoittaa: mitoitus olisi suurempi kuin 64 KiB, "
                          "jota mikään lukija ei avaa"},
    {FileBadLoad, "%1: %2, ei kentän yksirivinen teksti"},
    {FileLongLoad, "%1 on %2 merkin teksti, pidempi kuin kentän %3 merkkiä"},
    {FileBadCases, "\"cases\": %1, ei 1–%2 tapauksen luettelo"},
    {FileCaseCount, "%1 tapauksen luettelo"},
    {FileBadCase, "\"cases\"-luettelon tapaus %1: %2"},
    {FileCaseNotObject, "se on %1, ei olio"},
    {FileBadCaseName, "\"name\": %1, ei yksirivinen teksti"},
    {FileUnwritableCase, "tiedostoa '%1' ei voi kirjoittaa: tapaus %2 sisältää rivinvaihdon tai "
                         "merkin, jota mitoitustiedosto ei voi säilyttää"},
    {FileTooManyCases, "tiedostoa '%1' ei voi kirjoittaa: mitoituksessa on %2 kuormitustapausta, "
                       "enemmän kuin tiedoston enintään %3"},
    {HelpMore,
     "Page Down tai hiiren rulla: mitoitustiedostot, valikko, tulostus laskelmineen ja näppäimet"},
    {HelpAdded,
     "4 Mitoitustiedostot ja valikko\r\n"
     "\r\n"
     "Hiiren oikea painike ikkunassa kenttien ulkopuolella avaa valikon. Avaa… (Ctrl+O), "
     "Tallenna (Ctrl+S) ja Tallenna nimellä… (Ctrl+Shift+S) säilyttävät mitoituksen "
     "mitoitustiedostossa (.kiila): tapauksen, betonin, kenttien tekstit sellaisinaan ja "
     "projektin nimen. Valikosta, viimeisimmistä mitoituksista tai komentoriviltä avattu tai "
     "ikkunaan pudotettu mitoitus palautetaan ja lasketaan. Ennen kuin muutettu mitoitus "
     "menetettäisiin, ohjelma kysyy, tallennetaanko se.\r\n"
     "\r\n"
     "5 Tulostus laskelmineen\r\n"
     "\r\n"
     "Tulosta laskelmineen (Ctrl+Shift+P tai valikko) tulostaa raporttisivun ja sen perään "
     "sivun, jolla on koko laskelma: jokainen arvo kaavoineen ja lukuineen jokaiselle "
     "kokeillulle koolle, tarkistukset ja niistä määräävä. Valikon Tallenna raportti "
     "PDF-tiedostoksi… tallentaa molemmat sivut PDF-tiedostoksi.\r\n"
     "\r\n"
     "6 Näppäimet\r\n"
     "\r\n"
     "Sarkain siirtää kenttien ja komentojen välillä; välilyönti tai Enter valitsee merkityn "
     "komennon, Enter kentässä laskee. Alt+1 … Alt+7 valitsevat tapauksen, Alt+K ja Alt+E "
     "betonin, Ctrl+T avaa tekniset tiedot, Ctrl+P tulostaa, F1 avaa tämän ohjeen, Ctrl+I "
     "vastuuvapauslausekkeen, Ctrl+L vaihtaa kielen ja Ctrl+Q lopettaa. Esc sulkee tämän "
     "ikkunan.\r\n"
     "\r\n"
     "Page Up tai hiiren rulla: takaisin yllä olevaan ohjeeseen."},
    {TitleMain, "KALVEX OY Kiila-ankkurin laskentaohjelma OPTION 4:n mukaan         (beta 1.01)"},
    {TitleDataSheet, "Tekniset tiedot"},
    {TitleHelp, "Ohje"},
    {MenuUndo, "Kumoa"},
    {MenuOpen, "Avaa…"},
    {MenuSave, "Tallenna"},
    {MenuSaveAs, "Tallenna nimellä…"},
    {MenuRecent, "Viimeisimmät mitoitukset"},
    {MenuSavePdf, "Tallenna raportti PDF-tiedostoksi…"},
    {MenuLoadCases, "Kuormitustapaukset…"},
    {MenuPrint, "Tulosta"},
    {MenuPrintDetails, "Tulosta laskelmineen"},
    {MenuHelp, "Ohje"},
    {MenuZoomIn, "Suurenna"},
    {MenuZoomOut, "Pienennä"},
    {MenuZoomReset, "Todellinen koko"},
    {MenuExit, "Lopeta"},
    {DesignFilter, "Kiila-mitoitukset (*.kiila)"},
    {DesignChanged, "Mitoitusta on muutettu sen jälkeen, kun se tallennettiin tiedostoon %1.\n"
                    "Tallennetaanko muutokset?"},
    {DesignUnsaved, "Mitoitusta ei ole tallennettu.\nTallennetaanko se?"},
    {EmptyField, "Tyhjä kenttä: %1"},
    {EmptyFields, "Tyhjät kentät: %1"},
    {NotNumber, "%1: \"%2\" ei ole luku.\nKirjoita pelkkä luku ilman yksikköä ja tuhaterottimia; "
                "desimaalit erotetaan pisteellä tai pilkulla (2.5 tai 2,5)."},
    {AmbiguousNumber, "%1: \"%2\" voidaan lukea lukuna %3 tai lukuna %4.\nKirjoita %5, jos pilkku "
                      "erottaa tuhannet, tai %6 tai %7, jos se erottaa desimaalit."},
    {CasesGoverning, "Mitoittava kuormitustapaus: %1 (%2/%3)"},
    {CasesChecked, "Tarkistettuja kuormitustapauksia: %1"},
    {CasesTitle, "Kuormitustapaukset"},
    {CasesExplained, "Kuormitustapaukset: nimi, NSd (kN), V1d (kN), e1 (mm), e2 (mm). Solut voi "
                     "liittää taulukkolaskennasta (Ctrl+V)."},
    {CasesAdd, "Lisää"},
    {CasesDuplicate, "Monista"},
    {CasesDelete, "Poista"},
    {CasesPaste, "Liitä"},
    {CasesImport, "Tuo CSV…"},
    {CasesExport, "Vie CSV…"},
    {CasesClose, "Sulje"},
    {CasesName, "Nimi"},
    {CasesUtilisation, "Käyttöaste"},
    {CasesOutcome, "Tulos"},
    {CasesNotPasted, "Mitään ei liitetty: %1."},
    {CasesNotImported, "Tiedoston %1 kuormitustapauksia ei tuotu: %2."},
    {CasesNotExported, "Mitään ei viety: tapaus %1: %2 \"%3\" ei ole luku."},
    {CasesTooMany, "Mitoituksessa voi olla enintään %1 kuormitustapausta."},
    {CasesPasses, "kestää"},
    {CasesGoverns, "(mitoittava)"},
    {PrintNoPrinter, "Tulostinta ei ole asetettu."},
    {PrintNotSpooled, "Sivua ei saatu valmiiksi tulostimelle."},
    {PrintRefused, "Tulostin ei ottanut sivua vastaan."},
    {PrintModule, "Tulostusmoduuli puuttuu tai sitä ei hyväksytty."},
    {PrintSaveInstead, "Tallenna PDF-tiedostoksi tulostamisen sijaan"},
    {PrintSaveReport, "Tallenna raportti PDF-tiedostoksi"},
    {PrintSent, "Lähetetty tulostimelle."},
    {ResultStale, "Lähtötietoja on muutettu viimeisen laskennan jälkeen: niille ei ole tulosta."},
    {ResultUncalculated, "Laskentaa ei ole vielä tehty: lähtötiedoille ei ole tulosta."},
    {Cracked, "haljennut betoni"},
    {NonCracked, "haljeamaton betoni"},
    {CheckTension, "veto"},
    {CheckShear, "leikkaus"},
    {CheckEccentric, "epäkeskinen veto"},
    {FailsTension, "veto ei riitä"},
    {FailsShear, "leikkaus ei riitä"},
    {FailsEccentric, "epäkeskinen veto ei riitä"},
    {DetailsTitle, "Laskelma kokonaisuudessaan"},
    {DetailsCase, "TAPAUS"},
    {DetailsInputs, "Lähtötiedot"},
    {DetailsValue, "arvo"},
    {DetailsChecks, "Tarkistukset: kuorma / kapasiteetti = käyttöaste"},
    {DetailsLegend, "* määräävä: tarkistus, joka ei täyty, muuten suurin käyttöaste"},
    {DetailsOutcome, "tulos"},
    {DetailsChosen, "valittu"},
    {DetailsStopped, "pysähtyi"},
    {DetailsChosenSentence, "Valittu: %1"},
    {DetailsStoppedSentence, "Laskenta pysähtyi: %1"},
    {DetailsGoverningCase, "Mitoittava kuormitustapaus: %1 (%2/%3)"},
    {DetailsLoadCases, "Kuormitustapauksia: %1"},
    {DetailsCasesTitle, "Kuormitustapaukset %1–%2 / %3: käyttöaste koon mukaan"},
    {DetailsCasesLegend, "* koon määräävä tapaus; lihavoituna mitoittava kuormitustapaus"},
    {DetailsCaseColumn, "tapaus"},
    {DetailsNameColumn, "nimi"},
    {DetailsColumnCheck, "tarkistus"},
    {DetailsColumnLoad, "kuorma"},
    {DetailsColumnCapacity, "kapasiteetti"},
    {DetailsColumnUtilisation, "käyttöaste"},
    {DetailsMarkFails, "ei täyty"},
    {DetailsMarkGoverns, "määräävä"},
    {DetailsFailsCheck, "%1 ei riitä"},
    {WorkOneAnchorTakesAll, "(yksi ankkuri ottaa koko leikkauksen)"},
    {WorkStepWidth, "askelväli"},
    {WorkNoMiddleRow, "(ei keskiriviä)"},
    {WorkFarFromEdges, "kaukana reunoista (C1 ja C2 ≥ 10·hef)"},
    {WorkYes, "kyllä"},
    {WorkNo, "ei"},
    {WorkStop, "pysähdys"},
    {WorkStops, "laskenta pysähtyy tähän kokoon"},
    {WorkSearchHeading, "ensimmäinen askel, jossa NGroup/NFromM on 5 %:n sisällä 1:stä"},
    {WorkSearchStep, "askel %d"},
    {WorkSearchZero, "ei mikään; alle 1 askeleella 0: askel 0"},
    {WorkSearchBisection, "ei mikään; askelten %d ja %d puolitus, jossa NGroup/NFromM laskee alle "
                          "1:n"},
    {WorkSearchLast, "ei mikään, eikä NGroup/NFromM laske alle 1:n: askel %d"},
    {WorkRaised, "(9, kun välillä 0–9)"},
    {SummaryCase, "TAPAUS %1"},
    {SummaryAnchorCapacity, "ankkurin kapasiteetti kN"},
    {SummaryGroupShear, "ryhmän leikkaus kN"},
    {SummaryEccentric, "epäkeskinen veto kN"},
    {SummaryUseTension, "käyttöaste veto"},
    {SummaryUseShear, "käyttöaste leikkaus"},
    {SummaryUseEccentric, "käyttöaste epäkeskinen"},
    {SummaryFails, "ei riitä"},
    {SummaryCapacityHeading, "kapasiteetti:"},
    {SummaryShearHeading, "leikkaus:"},
    {SummaryEccentricHeading, "epäkeskinen:"},
    {SummaryStopped, "pysähtyi kokoon %1 (%2):"},
    {SummaryLoadCase, "kuormitustapaus"},
    {SummaryGoverningRow, "mitoittava tapaus"},
    {SummaryGoverningLine, "mitoittava kuormitustapaus: %1 (%2/%3)"},
    {TabExit, "Lopeta"},
    {TabPrint, "Tulosta"},
    {TabHelp, "Ohje"},
    {TabBack, "Takaisin"},
};
static_assert(complete(FinnishTable), "the Finnish table has every text, in the order of the keys");

} // namespace texts
