// The help window: the English help, the Finnish help and the disclaimer lie over the white
// panel of the background, one over the other; the window's logic shows one of them. Each line
// of the texts ends with CR LF.

#include "forms/definitions.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace forms {
namespace {

constexpr Font TextFont{"Arial", 9.75, true, false, Western};

// clang-format off
constexpr const char *EnglishHelp =
    "Calculation program for KALVEX X-TR and R-IZU torque controlled expansion anchors acc. to option 4\r\n"
    "\r\n"
    "1 Getting started with the program\r\n"
    "\r\n"
    "You will have seven different fastening cases to choose (cases 1 - 7). You are able to browse the case pictures and choose the \r\n"
    "right case for you. In the data sheet you have to fill the lines written in dark blue. Use bare numbers without units. You will find \r\n"
    "built in units (mm, kN) in each line of the data sheet. Point is a decimal separator. When all the necessary lines are filled you \r\n"
    "can start the calculation pressing the Calculate button. At first the program is working with the smallest anchor size and if \r\n"
    "needed it will increase the size. During calculation you will have messages concerning capacities, spacings and edge distances \r\n"
    "of the anchors. Calculation will continue when you have done the needed changes and will press the Calculate button again. If \r\n"
    "the task has been completed successfully you will find the results in the lower right corner box. When calculation is ready or \r\n"
    "you will begin a new task or you want to clear the data sheet, choose a new case. \r\n"
    "After calculation use the Exit button to exit the program.\r\n"
    "\r\n"
    "2 Fastening types\r\n"
    "\r\n"
    "You can have different number of anchors, 1 (case 1) - 6 (case 7) pcs. The directions of the coordinate system are 1 (vertical) and 2 \r\n"
    "(horizontal). Shear load V1d is acting in direction 1 of the figure and tension load NSd perpendicular to the plane of the figure. \r\n"
    "Shear and tension loads must be multiplied by the partial safety factors according to the national regulations. In the fastening \r\n"
    "assemblies 2 - 7 you must use a rigid base plate, the measures of which are at least the spacing between the outer anchors + 3 \r\n"
    "D where D is anchor diameter. For instance in the fastening case 6 the minimum size of the base plate is (s1 + 3D) and (s2 + 3D) \r\n"
    "and case 2 (s1 + 3D) and (3D). The minimum edge distance c of the fastening case 7 is 10 x effective anchorage depth hef.\r\n"
    "\r\n"
    "3 Eccentricities of external forces\r\n"
    "\r\n"
    "Eccentricity e1 of the external tension force (NSd) with respect to the centre of gravity of the fastening (in direction 1) applies to \r\n"
    "fastening types 2, 3, 6 and 7. Eccentricity e2 of the external shear force (V1d) with respect to the centre of gravity of the \r\n"
    "fastening (in direction 2) applies to fastening types 4, 5, 6 and 7.\r\n";

constexpr const char *FinnishHelp =
    "KALVEX X-TR - ja R-IZU - kiila-ankkurien laskentaohjelma option 4 mukaan\r\n"
    "\r\n"
    "1 Ohjelman toimintatapa\r\n"
    "\r\n"
    "Valintapalkissa on valittavana seitsemän kiinnitystapausta (tapaukset 1 - 7). Kuvia voi selata ja sen mukaan valita sopiva \r\n"
    "kiinnitystapaus. Kaavakkeeseen täytetään kohdat, jotka ovat tummansinisellä. Vaihtamalla tapausta kuva muuttuu ja tarvittavat \r\n"
    "lukuarvot on muutettava laskentataulukkoon ja suoritettava laskenta. Käytä paljaita lukuja ilman yksikköjä. Ko. yksiköt (mm, kN) \r\n"
    "esitetään kaavakkeen kyseisessä kohdassa pisteen toimiessa desimaalierottimena. Laskenta alkaa, kun painat kaavakkeen \r\n"
    "laske - nappulaa. Laskennan aikana ohjelma antaa tietoja käyttäjälleen (esimerkiksi ankkureiden kapasiteeteista, väleistä ja \r\n"
    "reunaetäisyyksistä). Jos laskenta on onnistunut, tapaukseen sopivan ankkurin tiedot tulevat näkyviin mitoituksineen oikeaan \r\n"
    "alareunaan. Kun laskenta on valmis, aloitat uuden laskennan tai kun haluat lähtötietokaavakkeen tiedot pois näkyvistä, valitse \r\n"
    "valikosta uusi tapaus. Ohjelmasta poistutaan lopeta - nappulaa\r\n"
    "painamalla.\r\n"
    "\r\n"
    "2 Kiinnitystapaukset\r\n"
    "\r\n"
    "Ankkureita voi olla 1 kappale (tapaus 1) - 6 kappaletta (tapaus 7). Koordinaatiston suunnat ovat 1 (pystysuora) ja 2 (vaakasuora). \r\n"
    "Leikkausvoima V1d vaikuttaa kuvatason suuntaisesti suunnassa 1 ja vetovoima NSd kuvatasoa vastaan kohtisuorassa \r\n"
    "suunnassa. Leikkaus- ja vetovoima tulee kertoa osavarmuuskertoimilla (pysyvä kuorma 1.2 ja muuttuva kuorma 1.6), ennen kuin \r\n"
    "ne kirjoitetaan lähtötietokaavakkeeseen. Tapauksissa 2 - 7 ankkurien alla tulee olla jäykkä metallilevy tai -profiili, jonka \r\n"
    "vähimmäissivumitat ovat äärimmäisten ankkurien väli + 3 D, jossa D on ankkurin nimellishalkaisija. Esimerkiksi tapauksessa 6 \r\n"
    "levyn sivut ovat vähintään (s1 + 3D) ja (s2 + 3D) ja tapauksessa 2 (s1 + 3D) ja (3D). Tapauksessa 7 reunaetäisyyksien tulee olla \r\n"
    "vähintään\r\n"
    "10 x tehollinen ankkurointisyvyys hef.\r\n"
    "\r\n"
    "3 Veto- ja leikkausvoiman epäkeskisyys\r\n"
    "\r\n"
    "Vetovoimalle NSd voidaan antaa epäkeskisyys e1 (kuvaa taivutusmomenttia) tapauksissa 2, 3, 6 ja 7. Epäkeskisyys e1 tarkoittaa \r\n"
    "vetovoiman vaikutuspisteen ja ankkureiden painopisteen välistä etäisyyttä suunnassa 1. Leikkausvoimalle V1d voidaan antaa \r\n"
    "epäkeskisyys e2 (kuvaa vääntömomenttia) tapauksissa 4, 5, 6 ja 7. Epäkeskisyys e2 tarkoittaa leikkausvoiman vaikutussuoran ja \r\n"
    "ankkureiden painopisteen välistä etäisyyttä suunnassa 2.\r\n";

// The disclaimer's first line: more blanks than a line of the label holds; each full line of them
// is a line break (the runtime breaks them; Qt's wrap does not), so the heading stands a few
// lines down the panel.
constexpr int DisclaimerIndent = 244;
constexpr std::string_view DisclaimerBody =
    "DISCLAIMER\r\n"
    "\r\n"
    "    This program is provided \"as is\".\r\n"
    "    Kalvex Oy cannot accept any liability for indirect, direct,\r\n"
    "    incidental or consequential damages, losses or expenses\r\n"
    "    in connection with, or by reason of, the use of, or inability \r\n"
    "    to use this calculation program for any kind of purposes.\r\n"
    "    Kalvex Oy makes no representation or warranty as to the\r\n"
    "    completeness, accuracy, or reliability of the information\r\n"
    "    contained in this calculation program.\r\n";
// clang-format on

constexpr auto Disclaimer = [] {
    std::array<char, DisclaimerIndent + DisclaimerBody.size() + 1> text{};
    std::fill_n(text.begin(), DisclaimerIndent, ' ');
    std::copy(DisclaimerBody.begin(), DisclaimerBody.end(), text.begin() + DisclaimerIndent);
    return text;
}();

constexpr ControlDef text(const char *name, Rect rect, const char *caption, Font font = TextFont)
{
    return {.name = name,
            .kind = Kind::Label,
            .rect = rect,
            .caption = caption,
            .fore = DarkBlue,
            .back = White,
            .font = font};
}

// All three texts are shown at first, the English help on top.
constexpr ControlDef Controls[] = {
    text("Label2", {1560, 1800, 12315, 7575}, FinnishHelp),
    text("Label3", {1440, 1740, 12315, 7515}, Disclaimer.data(),
         {"Arial", 20.25, true, false, Western}),
    // The word "back" drawn over "takaisin" on the tab; the click area lies above it.
    {.name = "ImgEng",
     .kind = Kind::Image,
     .rect = {10920, 250, 1350, 345},
     .picture = "form3_back_eng"},
    text("Label1", {1500, 1800, 12435, 7575}, EnglishHelp),
    clickArea("Image1", NoIndex, {8640, 60, 6555, 795}),
    clickArea("ImgLanguage", 0, {5700, 60, 735, 615}, false),
    clickArea("ImgLanguage", 1, {6480, 60, 735, 615}, false),
    clickArea("ImgLanguage", 2, {7200, 60, 735, 615}, false),
};

} // namespace

const FormDef Form3{
    .name = "Form3",
    .caption = "Ohje",
    .kind = WindowKind::Borderless,
    .width = 15405,
    .height = 11520,
    .back = ButtonFace,
    .picture = "form3_background",
    // "info" asks for the disclaimer when the window is shown.
    .tag = "0",
    .controls = Controls,
};

} // namespace forms
