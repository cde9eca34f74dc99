// The text table.
#include "setup/texts.h"

#include <array>
#include <utility>

namespace orvalis {
namespace {

using TextPair = std::array<std::string, 2>;

std::string ProductInformation(bool english) {
  // 8-point MS Sans Serif; colour 1 is pure blue for the addresses.
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1043{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans Serif;}}"
      "{\\colortbl ;\\red0\\green0\\blue255;}\\viewkind4\\uc1\\pard\\lang1033\\f0\\fs16 ";
  const char* paragraphs[2][6] = {
      {"Deze installatie vraagt u de map aan te geven waarin u dit programma wenst te installeren. "
       "U heeft hiervoor minimaal 40 MB vrije schijfruimte nodig.",
       "Opmerkingen:", "- Indien u reeds een bestaande versie gestart heeft sluit deze dan eerst af. ",
       "- Indien u op een netwerk station installeert let dan op de rechten en permissies ",
       "U kunt ons bereiken:", nullptr},
      {"This install wil ask you the folder to install this program. You need a minimal 40MB of free space.",
       "Remarks:", "- If you have a working version please shut it down before commencing. ",
       "- If you install on a networking station then be aware of rights and permissions. ",
       "U can reach Orvalis:", nullptr},
  };
  const auto& p = paragraphs[english ? 1 : 0];
  auto link = [](std::string_view address) {
    return "\\cf1\\ul\\b " + std::string(address) + "\\cf0\\ulnone\\b0";
  };
  rtf += std::string(p[0]) + "\\par \\par \\b " + p[1] + "\\b0\\par " + p[2] + "\\par " + p[3] + "\\par \\par \\b " +
         p[4] + "\\b0\\par \\pard\\tx1120 Internet:\\tab " + link(kContactWebAddress) + "\\par Email:\\tab " +
         link(kContactMailAddress) + "\\par }";
  return rtf;
}

std::array<TextPair, kSetupTextCount> BuildTable() {
  std::array<TextPair, kSetupTextCount> t{};
  t[0] = {"Kies een map om de doelmap in te creeeren", "Select an existing folder to install"};
  t[1] = {"Er zit een fout in het installatie programma", "Error in the setup program"};
  t[2] = {"Een installatie onderdeel kan niet gevonden worden. U dient voldoende vrije schijfruimte te hebben!",
          "Part of the installation is invalid. Make sure there is enough filespace"};
  t[3] = {"PRODUCTNAME", "PRODUCTNAMEENU"};
  t[5] = {" Installatie", " Install"};
  t[6] = {ProductInformation(false), ProductInformation(true)};
  t[7] = {"Versie: ", "Version: "};
  t[8] = {"Aanmaakdatum: ", "Creation date: "};
  t[9] = {"Map waarnaar geïnstalleerd dient te worden:", "Folder to install to:"};
  t[10] = {"Aangepaste/Netwerk installatie uitvoeren", "Custom/Network installation"};
  t[11] = {"Programma map", "Program folder"};
  t[12] = {"Lokale gebruikers map", "Local user folder"};
  t[13] = {"Selecteer", "Select"};
  t[14] = {"Annuleren", "Cancel"};
  t[15] = {"Installeer", "Install"};
  t[16] = {"Geef aan welke bestanden u wilt installeren", "Select the files to install"};
  t[17] = {"Definitie bestand", "Template file"};
  t[18] = {"Import definitie", "Import template"};
  t[19] = {"Export definitie", "Export template"};
  t[20] = {"Assistent bestand", "Assist file"};
  t[21] = {"Vermeld het programma in de Windows softwarelijst", "Register this program in the windows softwarelist"};
  t[22] = {"Programma starten na installatie", "Run application after setup"};
  t[23] = {"Snelkoppelingen worden automatisch gemaakt bij de eerste opstart (en registratie) van de applicatie op "
           "elk werkstation.\r\nVoor werkstationinstallatie moet dus op elk werkstation éénmalig de applicatie "
           "direct gestart en geregistreerd worden.",
           "Shortcuts are created after the program is run (and registered) for the first time. Do do a workstation "
           "installation the application must be run direct once on every workstation."};
  t[24] = {"De map kan niet aangemaakt worden. Zorg dat de gekozen map een geldige naam heeft en dat u "
           "(administrator) rechten heeft om mappen aan te maken.",
           "The selected path can't be created. Make sure the pathname is valid and you have the (administrator) "
           "rights to create paths."};
  t[25] = {"De gekozen map bestaat al, het programma in deze map zal worden overschreven. Wilt u doorgaan?",
           "The installfolder already exists, the program in the folder will be overwritten. Continue?"};
  t[26] = {"Installeren van bestanden", "Install files"};
  t[27] = {"Alleen lezen van bestanden uitschakelen", "Reset Read-Only flags"};
  t[28] = {"Controleren of alle bestanden overschreven kunnen worden", "Check if all files can be written"};
  t[29] = {"Niet alle bestanden in de installatie directory kunnen worden overschreven. Zorg dat alle applicaties "
           "afgesloten zijn en u de juiste rechten op de bestanden heeft.",
           "Not all files in the install folder can be written. Make sure all files can be replaced and "
           "applications are closed."};
  t[30] = {"Verwijderen oude assistent bestanden", "Delete old assistent files"};
  t[31] = {"Verwijderen oude bestanden", "Delete old files"};
  t[32] = {"Niet alle bestanden zijn goed geïnstalleerd.", "Not all files could be installed"};
  t[33] = {"Alleen-lezen van bestanden inschakelen", "Set Read-Only flags"};
  t[34] = {"Software bijwerken", "Update software"};
  t[35] = {"Afsluiten", "Finish"};
  t[36] = {"bestand", "file"};
  t[37] = {"De bestandstypes konden niet aan dit programma gekoppeld worden, start de installatie als administrator "
           "of neem kontakt op met uw systeembeheerder",
           "The fileextentions could not be linked to this program, run the setup as administrator or contact your "
           "system operator"};
  t[38] = {"Start", "Run"};
  t[40] = {"Wilt u nu de setup als beheerder starten?", "Do you wish to run the setup as administrator?"};
  t[41] = {"kan niet worden geïnstalleerd. Waarschijnlijk heeft u extra rechten nodig. Sla deze installatie op en "
           "voer het als 'Administrator' uit.",
           "cannot be installed. Probably there are extra rights needed. Save this program to disk and try running "
           "it as 'Administrator'."};
  t[42] = {"Koppeling op het bureaublad plaatsen", "Add link to the desktop"};
  t[43] = {"Programma menu aanmaken", "Create program menu"};
  t[44] = {"Wilt u dit programma direct uitvoeren of installeren?", "Do you wish to run this program or install it?"};
  t[45] = {"Uitvoeren", "Execute"};
  t[46] = {"Installeren", "install"};
  t[47] = {"Uitpakken bestanden", "Extracting files"};
  return t;
}

}  // namespace

const std::string& SetupText(int number, int languageIndex) {
  static const std::array<TextPair, kSetupTextCount> table = BuildTable();
  static const std::string none;
  if (number < 0 || number >= kSetupTextCount || languageIndex < 0 || languageIndex > 1) return none;
  return table[static_cast<size_t>(number)][static_cast<size_t>(languageIndex)];
}

void ApplyLanguageCode(SetupState& state) {
  if (state.LanguageCode == kLanguageEnglish) state.LanguageIndex = kEnglish;
}

}  // namespace orvalis
