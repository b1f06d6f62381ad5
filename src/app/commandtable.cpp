// The command table; see commandtable.h.
#include "app/commandtable.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "base/hint.h"

namespace tarn::app {
namespace {

// Rows are written with these, one line each, so that the table reads like
// the menus it describes.
struct Row : CommandEntry {
  constexpr Row Keys(std::uint16_t key, std::uint16_t second = 0) const {
    Row r = *this;
    r.shortcut = key;
    r.alternate = second;
    return r;
  }
  constexpr Row Flags(std::uint32_t f) const {
    Row r = *this;
    r.flags |= f;
    return r;
  }
  constexpr Row Tag(int t) const {
    Row r = *this;
    r.tag = t;
    return r;
  }
  constexpr Row Group(int g) const {
    Row r = *this;
    r.group = g;
    return r;
  }
  constexpr Row Drops(std::string_view menu) const {
    Row r = *this;
    r.flags |= kDropDown;
    r.popup = menu;
    return r;
  }
};

constexpr Row Entry(CommandKind kind, std::string_view parent, std::string_view name, std::string_view caption,
                    std::string_view method = {}) {
  Row r{};
  r.kind = kind;
  r.parent = parent;
  r.name = name;
  r.caption = caption;
  r.method = method;
  return r;
}
constexpr Row MainMenu(std::string_view name, std::string_view caption) {
  return Entry(CommandKind::Menu, {}, name, caption);
}
constexpr Row SubMenu(std::string_view parent, std::string_view name, std::string_view caption) {
  return Entry(CommandKind::Menu, parent, name, caption);
}
constexpr Row Item(std::string_view parent, std::string_view name, std::string_view caption,
                   std::string_view method) {
  return Entry(CommandKind::Item, parent, name, caption, method);
}
constexpr Row Sep(std::string_view parent, std::string_view name = {}) {
  return Entry(CommandKind::Separator, parent, name, "-");
}
constexpr Row Bar(std::string_view name, std::string_view caption) {
  return Entry(CommandKind::Toolbar, {}, name, caption);
}
constexpr Row Button(std::string_view bar, std::string_view name, std::string_view hint, std::string_view method) {
  Row r = Entry(CommandKind::Button, bar, name, base::ShortHint(hint), method);
  r.hint = hint;
  return r;
}
constexpr Row Control(std::string_view bar, std::string_view name, ControlKind control, std::string_view hint,
                      std::string_view method) {
  Row r = Button(bar, name, hint, method);
  r.kind = CommandKind::Control;
  r.control = control;
  return r;
}
constexpr Row Popup(std::string_view name, std::string_view properties) {
  Row r = Entry(CommandKind::Popup, {}, name, name);
  r.popup = properties;
  return r;
}

// The frame set's popups share their clipboard items: named after the popup.
#define TARN_CLIPBOARD(popup, prefix)                           \
  Item(popup, prefix "Cut", "Cu&t", "EditCut").Flags(kEditOnly), \
      Item(popup, prefix "Copy", "&Copy", "EditCopy"),           \
      Item(popup, prefix "Paste", "&Paste", "EditPaste").Flags(kEditOnly)

constexpr Row kRows[] = {
    // ---- File ----
    MainMenu("mFile", "&File"),
    Item("mFile", "FileNew", "&New hypertext", "FileNew").Keys(kCtrl | Key('N')).Flags(kEditOnly),
    Item("mFile", "Nuovoda1", "Ne&w from...", "Nuovoda1Click").Flags(kEditOnly),
    Item("mFile", "FileOpen", "&Open...", "FileOpen").Keys(kCtrl | F(12), kCtrl | Key('O')),
    Item("mFile", "Importa1", "&Import pages...", "Importa1Click").Flags(kEditOnly),
    Item("mFile", "NuovaPagina1", "Add new page", "NuovaPaginaClick").Flags(kEditOnly),
    Item("mFile", "Trovafile1", "Search &file...", "Trovafile1Click").Keys(kCtrl | F(10)),
    Item("mFile", "GetHypertext1", "&Get hypertext from net...", "GetHypertextClick").Flags(kEditOnly),
    Sep("mFile"),
    Item("mFile", "FileSave", "&Save all", "FileSave").Keys(kCtrl | Key('S')).Flags(kEditOnly),
    Item("mFile", "FileSaveAs", "Save &as...", "FileSaveAs").Flags(kEditOnly),
    Item("mFile", "Salvacomemodello1", "Save as template...", "Salvacomemodello1Click").Flags(kEditOnly),
    Item("mFile", "FileExport", "E&xport pages...", "BFileExportClick").Keys(kCtrl | Key('E')).Flags(kEditOnly),
    Item("mFile", "Cancellapagine1", "&All pages...", "Cancellapagine1Click").Flags(kEditOnly),
    Sep("mFile"),
    Item("mFile", "Impostastampante1", "Printer se&tup...", "Impostastampante1Click"),
    Item("mFile", "Impostamargini1", "&Margins setup...", "Impostamargini1Click"),
    Item("mFile", "FilePrint", "&Print...", "FilePrint"),
    Item("mFile", "Stampapaginacorrente1", "Print &present page", "Stampapaginacorrente1Click"),
    Item("mFile", "Stampatutte1", "Print all", "Stampatutte1Click"),
    Sep("mFile"),
    Item("mFile", "FileExit", "&Exit", "FileExit").Keys(kAlt | Key('X')),
    Sep("mFile", "Nrecent"),

    // ---- Edit ----
    MainMenu("mEdit", "&Edit"),
    Item("mEdit", "EditUndo", "&Undo", "UndoButtonClick").Keys(kAlt | kKeyBack, kCtrl | Key('Z')).Flags(kEditOnly),
    // Shown (the old program hid it): an undo taken by mistake, several
    // steps at once from the drop-down, must not cost the author the work.
    Item("mEdit", "EditRedo", "&Redo", "RedoButtonClick").Keys(kAlt | kShift | kKeyBack, kCtrl | kShift | Key('Z'))
        .Flags(kEditOnly),
    Sep("mEdit"),
    Item("mEdit", "EditCut", "Cu&t", "EditCut").Keys(kShift | kKeyDelete, kCtrl | Key('X')).Flags(kEditOnly),
    Item("mEdit", "EditCopy", "&Copy", "EditCopy").Keys(kCtrl | kKeyInsert, kCtrl | Key('C')),
    Item("mEdit", "EditPaste", "&Paste", "EditPaste").Keys(kShift | kKeyInsert, kCtrl | Key('V')).Flags(kEditOnly),
    Item("mEdit", "Incollapaginada1", "Paste pa&ge from...", "Incollapaginada1Click").Flags(kEditOnly),
    Sep("mEdit"),
    Item("mEdit", "SelectAll", "&Select all", "Selezionabrano1Click").Keys(kCtrl | F(2)).Flags(kEditOnly),

    // ---- Search ----
    MainMenu("mSearch", "&Search"),
    Item("mSearch", "Cercasostituisci1", "&Search...", "Cercasostituisci1Click").Keys(kCtrl | Key('F')),
    Item("mSearch", "CercaSostituisci2", "Search / &Replace...", "CercaSostituisci2Click")
        .Keys(kCtrl | Key('R'))
        .Flags(kEditOnly),
    Item("mSearch", "Ripetiultimaricerca1", "Search &again in page", "Ripetiultimaricerca1Click").Keys(F(3)),
    Item("mSearch", "RepeatSearchInHypertext1", "Search again in the &hypertext", "RepeatSearchInHypertextClick")
        .Keys(F(4)),
    Sep("mSearch"),
    Item("mSearch", "CercaKey1", "Search by &keyword...", "CercaKeyButtonClick").Keys(kCtrl | F(3)),
    Item("mSearch", "Cercaconoperatori1", "&Boolean search...", "Cercaconoperatori1Click"),

    // ---- The menus of selected objects ----
    MainMenu("mFloating", "&Floating frame").Flags(kObjectMenu),
    Item("mFloating", "ProprietaFloating1", "&Properties...", "ProprietaFloatingClick"),
    Sep("mFloating"),
    Item("mFloating", "EditaFloating1", "&Edit...", "EditaFloatingClick"),
    Item("mFloating", "PrecedenteFloat1", "P&revious...", "PrecedenteFloatClick"),

    MainMenu("mButton", "&Button").Flags(kObjectMenu),
    Item("mButton", "ProprietaBottoni1", "&Properties...", "ProprietaBottoniClick"),
    Sep("mButton"),
    Item("mButton", "SeguicollegamentoBtn1", "Follow &link...", "SeguicollegamentoBtnClick"),

    MainMenu("mImage", "&Image").Flags(kObjectMenu),
    Item("mImage", "ProprietImmag1", "&Properties...", "ProprietImmag1Click"),
    Sep("mImage"),
    Item("mImage", "AddClickZone1", "&Add clic area", "AddClickZoneClick"),
    Item("mImage", "Img100perc1", "100%", "Img100percClick"),
    Item("mImage", "Img50perc1", "50%", "Img50percClick"),
    Item("mImage", "EditaImg1", "&Edit...", "EditaImgClick"),
    Sep("mImage"),
    Item("mImage", "LinkImmagine1", "&Define link...", "LinkImmagineClick"),
    Item("mImage", "DefCollSpecImage1", "De&fine special link...", "DefCollSpecImageClick"),
    Item("mImage", "Segui1", "Follow &link", "Segui1Click"),

    // ---- Insert ----
    MainMenu("mInsert", "&Insert").Flags(kEditOnly),
    Item("mInsert", "Simbolo1", "&Symbol...", "Simbolo1Click").Keys(kShift | F(2)),
    Item("mInsert", "Importa2", "Te&xt files...", "Importa1Click"),
    Sep("mInsert"),
    Item("mInsert", "ImmagineMappa1", "&Image/map...", "ImageButtonClick").Keys(kCtrl | Key('I')),
    Item("mInsert", "Tabella1", "&Table...", "TableButtonClick").Keys(kCtrl | Key('T')),
    Item("mInsert", "Floating1", "&Floating frame...", "FloatingButtonClick"),
    Item("mInsert", "Animazione1", "&Animation/sound...", "AniButtonClick"),
    Item("mInsert", "EmbedpluginactiveX1", "&Embed/Java/activeX...", "EmbedpluginactiveX1Click"),
    SubMenu("mInsert", "mForms", "Fo&rms"),
    Item("mForms", "Marcatorediiniziomodulo1", "Start form &marker...", "Marcatorediiniziomodulo1Click"),
    Item("mForms", "Elementodimodulo1", "Form e&lement...", "InputsButtonClick"),
    Item("mForms", "Bottone1", "&Button...", "ButtonButtonClick"),
    Item("mForms", "Elementodinamicodimodulo1", "&Dynamic form elemen...", "Elementodinamicodimodulo1Click")
        .Flags(kHidden),
    SubMenu("mInsert", "mPageFunctions", "&Page functions"),
    Item("mPageFunctions", "Slides2", "&Slides...", "DiPagina1Click").Tag(4),
    Item("mPageFunctions", "Apriechiudifinestre1", "&Open/close windows...", "InsertObjectInTextClick").Tag(2),
    Item("mPageFunctions", "Meta1", "&Meta...", "DiPagina1Click").Tag(0),
    SubMenu("mInsert", "mScript", "&Script Java/VB"),
    Item("mScript", "ScriptInizio1", "At page &start...", "DiPagina1Click").Tag(0),
    Item("mScript", "ScriptTesto1", "&Within text...", "InsertObjectInTextClick").Tag(0),
    Item("mScript", "Annotazioni1", "Annota&tions...", "InsertObjectInTextClick").Tag(1),
    SubMenu("mInsert", "mHtml", "&Html"),
    Item("mHtml", "HtmlInizio1", "At page &start...", "DiPagina1Click").Tag(0),
    Item("mHtml", "HtmlTesto1", "&Within text...", "InsertObjectInTextClick").Tag(0),
    Item("mInsert", "Componentepersonalizzato1", "&Custom component...", "Componentepersonalizzato1Click")
        .Flags(kShownAtStart),
    Item("mInsert", "ComponenteDBlocale1", "Local &DB element...", "ComponenteDBlocale1Click").Flags(kHidden),
    Sep("mInsert"),
    Item("mInsert", "Collegamentoautoreferente1", "Autore&ferenced link", "Collegamentoautoreferente1Click")
        .Keys(kShift | F(6)),
    Item("mInsert", "NuovaPagina2", "&New page...", "NuovaPaginaClick").Keys(kShift | kCtrl | Key('N')),
    Item("mInsert", "Ancora1", "Anc&hor", "Ancora1Click").Keys(kShift | F(5)),
    Item("mInsert", "Link1", "&Link...", "LinkButtonClick").Keys(kCtrl | F(5)),
    Item("mInsert", "Collegamentospeciale1", "&Special link...", "Collegamentospeciale1Click").Keys(F(5)),

    // ---- Table ----
    MainMenu("mTable", "T&able").Flags(kObjectMenu),
    Item("mTable", "ProprietaTabella1", "&Table/cells properties...", "ProprietaTabellaClick"),
    Sep("mTable"),
    SubMenu("mTable", "mRows", "&Rows..."),
    Item("mRows", "Aggiungiriga1", "&Add row", "Aggiungiriga1Click"),
    Item("mRows", "Eliminariga1", "&Delete row", "Eliminariga1Click"),
    SubMenu("mTable", "mColumns", "Colum&ns..."),
    Item("mColumns", "Aggiungicolonna1", "&Add column", "Aggiungicolonna1Click"),
    Item("mColumns", "Eliminacolonna1", "&Delete column", "Eliminacolonna1Click"),
    Item("mTable", "Aggiungi1", "&Add...", "Aggiungi1Click"),
    Sep("mTable"),
    Item("mTable", "Selezionatabella1", "&Select table", "Selezionatabella1Click"),
    Item("mTable", "Selezionatutto1", "&Select text in cell", "Selezionatutto3Click"),

    // ---- Format ----
    MainMenu("mFormat", "Fo&rmat").Flags(kEditOnly),
    Item("mFormat", "SelectFont1", "&Font...", "SelectFont"),
    SubMenu("mFormat", "mSuperSub", "&Superscript - Subscript"),
    Item("mSuperSub", "Normale1", "N&ormal", "Normale1Click"),
    Item("mSuperSub", "Apice1", "&Superscript", "Apice1Click"),
    Item("mSuperSub", "Pedice1", "S&ubscript", "Pedice1Click"),
    Item("mFormat", "Stili1", "&Styles...", "StyleParButtonClick"),
    Item("mFormat", "Stileparagrafo1", "Paragraph s&tyle...", "Stileparagrafo1Click"),
    Item("mFormat", "Nuovostile1", "&New style...", "Nuovostile1Click"),
    Item("mFormat", "Riformatta1", "&Reformat", "Riformatta1Click"),
    Sep("mFormat"),
    Item("mFormat", "Proprietcollegamento2", "Link &properties...", "Proprietcollegamento2Click"),
    Item("mFormat", "Seguicollegamentodoppioclic1", "Follow lin&k (double clic)", "Seguicollegamentodoppioclic1Click")
        .Keys(F(9)),
    Sep("mFormat"),
    Item("mFormat", "DiPagina1", "&Page properties...", "DiPagina1Click").Keys(kCtrl | F(11)).Tag(2),
    Item("mFormat", "Caricadisposizionecornici2", "Load &frameset layout...", "Caricadisposizionecornici2Click"),
    Item("mFormat", "PropCorn1", "&Advanced frameset manager...", "PropCornClick"),
    Item("mFormat", "TestataPie1", "&Header and footer...", "DiPagina1Click").Tag(3),

    // ---- Hypertext ----
    MainMenu("mHypertext", "Hyper&text"),
    Item("mHypertext", "HypertextProperties1", "Present hypertext &properties...", "HypertextPropertiesClick")
        .Flags(kEditOnly),
    Item("mHypertext", "KeyPage1", "&Keywords...", "KeyPageButtonClick").Flags(kEditOnly),
    Sep("mHypertext"),
    Item("mHypertext", "Cover", "&Cover", "CoverButtonClick"),
    Item("mHypertext", "Contents", "C&ontents", "SummaryButtonClick"),
    Item("mHypertext", "ReadOnly", "&Read only", "Sololettura1Click").Keys(F(11)).Flags(kLatching),
    Item("mHypertext", "Vediquery1", "&Show query", "Vediquery1Click").Flags(kHidden | kLatching),
    Item("mHypertext", "Mostracornici1", "&Show frames", "Mostracornici1Click").Flags(kEditOnly | kLatching),
    Sep("mHypertext"),
    Item("mHypertext", "PreviousPage", "P&revious page", "BPrecedenteClick"),
    Item("mHypertext", "NextPage", "&Next page", "BseguenteClick"),
    Item("mHypertext", "PagePlus", "Page +1", "Pagina11Click").Keys(kCtrl | kKeyPlus).Flags(kEditOnly),
    Item("mHypertext", "PageMinus", "Page -1", "Pagina12Click").Keys(kCtrl | kKeyMinus).Flags(kEditOnly),
    SubMenu("mHypertext", "mGoToPage", "&Go to page").Flags(kEditOnly),
    Item("mGoToPage", "ScegliDaAnteprima1", "&Select page from preview...", "ScegliDaAnteprima1Click"),
    Sep("mGoToPage", "N37"),
    Item("mHypertext", "Cancellapagine2", "&Delete pages...", "Cancellapagine1Click").Flags(kEditOnly),
    Item("mHypertext", "Slides1", "Sli&des...", "Slides1Click").Flags(kShownAtStart | kEditOnly),
    Item("mHypertext", "ReloadPage", "Reload pa&ge", "Ricaricapagina1Click").Flags(kPreviewOnly),
    Sep("mHypertext"),
    Item("mHypertext", "HypertextSearch1", "&Hypertext search...", "HypertextSearchClick").Flags(kEditOnly),
    Item("mHypertext", "Diagrammadeicollegamenti1", "&Link diagram...", "Diagrammadeicollegamenti1Click")
        .Flags(kEditOnly),
    Item("mHypertext", "Ordinepredefinitopagine1", "Predefined page &order...", "Ordinepredefinitopagine1Click")
        .Flags(kEditOnly),
    Item("mHypertext", "Albumimmaginiefiles1", "&Images - files - link archive and erase...",
         "Albumimmaginiefiles1Click")
        .Keys(F(12))
        .Flags(kEditOnly),
    // The same key as "&Open...": the key runs the first in menu order.
    Item("mHypertext", "ScegliDaAnteprima2", "All h&ypertext pages...", "ScegliDaAnteprima1Click")
        .Keys(kCtrl | F(12))
        .Flags(kEditOnly),

    // ---- Publish ----
    MainMenu("mPublish", "&Publish"),
    SubMenu("mPublish", "mInternetFtp", "Internet - &Ftp"),
    Item("mInternetFtp", "PublishHypertextFtp1", "&Publish on the Internet...", "PublishHypertextFtpClick")
        .Keys(kCtrl | Key('P')),
    Item("mInternetFtp", "Pubblicapaginacorrenteinrete1", "Publish present pa&ge...",
         "Pubblicapaginacorrenteinrete1Click"),
    Item("mInternetFtp", "FTPgenerico1", "Generic &FTP...", "FTPgenerico1Click"),
    Sep("mInternetFtp"),
    Item("mInternetFtp", "Configurazioni1", "&Setup...", "Configurazioni1Click"),
    SubMenu("mPublish", "mInternetTarn", "&Internet - Tarn"),
    Item("mInternetTarn", "PublishHypertext1", "&Publish hypertext on the net...", "PublishHypertextClick"),
    Item("mInternetTarn", "GetHypertext2", "&Get hypertext from the net...", "GetHypertextClick"),
    Sep("mInternetTarn"),
    Item("mInternetTarn", "Configurazione1", "&Setup...", "Configurazione1Click"),
    Item("mInternetTarn", "Cambiapassword1", "Change pass&word..", "Cambiapassword1Click"),
    Sep("mPublish"),
    Item("mPublish", "PubblicaAEHtramiteFTP1", "Transfer AEH with FTP...", "PubblicaAEHtramiteFTP1Click"),
    SubMenu("mPublish", "mBrowserPreview", "Browser &preview"),
    Item("mBrowserPreview", "PreviewPage", "&Present page in default browser", "Correntepagina1Click")
        .Keys(kCtrl | Key('A'))
        .Tag(-1),
    Item("mBrowserPreview", "PreviewHypertext", "&All hypertext in default browser", "PreviewHypertextClick")
        .Tag(-1),
    Sep("mBrowserPreview"),
    Item("mBrowserPreview", "BrowserOptions", "&Options and browsers...", "Opzioni2Click"),
    Sep("mBrowserPreview", "N28").Flags(kHidden),
    Item("mPublish", "CdRom1", "&Cd-Rom...", "CdRom1Click").Flags(kShownAtStart),
    Sep("mPublish"),
    Item("mPublish", "FileExport2", "&Export pages...", "BFileExportClick").Flags(kEditOnly),
    Item("mPublish", "EsportaHtml1", "Export &Html...", "EsportaHtml1Click").Flags(kHidden),
    Item("mPublish", "EsportaWinHelp1", "Export &WinHelp...", "EsportaWinHelp1Click").Flags(kHidden),

    // ---- Tools ----
    MainMenu("mTools", "&Tools"),
    Item("mTools", "Controlloortografia1", "&Page spell check...", "Controlloortografia1Click").Keys(F(7)),
    Item("mTools", "SpellCheckHypertext1", "&Hypertext spell check...", "SpellCheckHypertextClick")
        .Keys(kCtrl | F(7)),
    Sep("mTools"),
    Item("mTools", "Toolbars1", "&Toolbars...", "Toolbars1Click"),
    Item("mTools", "Finestre1", "&Windows...", "Finestre1Click").Keys(kAlt | Key('0')),
    Sep("mTools"),
    Item("mTools", "ProgramOptions", "&Program options...", "Opzionidelprogramma1Click").Flags(kEditOnly),
    Item("mTools", "CustomLibrary1", "&Custom component prototypes...", "CustomLibraryClick").Flags(kShownAtStart),
    Item("mTools", "CORR", "CORR", {}).Flags(kHidden),
    Item("mTools", "NOCORR", "NOCORR", {}).Flags(kHidden),

    // ---- ? ----
    MainMenu("mHelp", "&?"),
    Item("mHelp", "HelpContents1", "&Index", "HelpContents").Flags(kHidden),
    Item("mHelp", "HelpSearch1", "&Help on...", "HelpSearch").Flags(kHidden),
    Sep("mHelp").Flags(kHidden),
    Item("mHelp", "HelpAbout", "&Info...", "HelpAbout"),
    Item("mHelp", "Examples", "&Examples...", "Esempi1Click"),

    // ---- Toolbars ----
    Bar("ToolbarFile", "Main"),
    Button("ToolbarFile", "BPrecedente", "Previous", "BPrecedenteClick"),
    Button("ToolbarFile", "Bseguente", "Next", "BseguenteClick"),
    Button("ToolbarFile", "BFileOpen", "Open", "FileOpen"),
    Button("ToolbarFile", "BfileSave", "Save all", "FileSave").Flags(kEditOnly),
    Button("ToolbarFile", "BFileExport", "Export", "BFileExportClick").Flags(kEditOnly),
    Button("ToolbarFile", "PrintButton", "Print", "FilePrint"),
    Button("ToolbarFile", "EditButton", "Edit / Preview", "EditButtonClick").Flags(kLatching | kAllowAllUp).Group(4),
    Button("ToolbarFile", "CoverButton", "Cover", "CoverButtonClick"),
    Button("ToolbarFile", "SummaryButton", "Contents", "SummaryButtonClick"),
    Button("ToolbarFile", "CercaKeyButton", "Search by keyword", "CercaKeyButtonClick"),
    Button("ToolbarFile", "NewButton", "New hypertext", "FileNew").Flags(kEditOnly),
    Button("ToolbarFile", "BDBloc", "Normal / Show query", {}).Flags(kLatching | kHidden),

    Bar("ToolbarHistory", "Browsed pages"),
    Control("ToolbarHistory", "HistoryCombo", ControlKind::ComboBox, "URL", "HistoryComboClick"),

    Bar("ToolbarEdit", "Page").Flags(kEditOnly),
    Button("ToolbarEdit", "BfileImport", "Import", "BFileImportClick"),
    Button("ToolbarEdit", "CutButton", "Cut", "EditCut"),
    Button("ToolbarEdit", "CopyButton", "Copy", "EditCopy"),
    Button("ToolbarEdit", "PasteButton", "Paste", "EditPaste"),
    Button("ToolbarEdit", "UndoButton", "Undo", "UndoButtonClick").Drops("UndoDrop"),
    Button("ToolbarEdit", "RedoButton", "Redo", "RedoButtonClick").Drops("RedoDrop"),
    Button("ToolbarEdit", "NestedButton", "Show frames", "NestedButtonClick")
        .Flags(kLatching | kAllowAllUp | kDownAtStart),
    Button("ToolbarEdit", "NuovaPagina", "Add new page", "NuovaPaginaClick"),
    Button("ToolbarEdit", "KeyPageButton", "Page keywords", "KeyPageButtonClick"),
    Button("ToolbarEdit", "PropCorn", "Advanced frameset management", "PropCornClick"),
    Button("ToolbarEdit", "BpropPagina", "Page/frame properties", "DiPagina1Click").Tag(2),
    Control("ToolbarEdit", "PageNumber", ControlKind::SpinBox, "Browse pages by number", "PageNumberChange"),

    Bar("ToolbarFormato", "Format").Flags(kObjectToolbar | kNewRow),
    Button("ToolbarFormato", "FontButton", "Font", "SelectFont"),
    Button("ToolbarFormato", "BoldButton", "Bold", "BoldButtonClick").Flags(kLatching | kAllowAllUp),
    Button("ToolbarFormato", "ItalicButton", "Italic", "ItalicButtonClick").Flags(kLatching | kAllowAllUp),
    Button("ToolbarFormato", "LinkButton", "Link", "LinkButtonClick").Flags(kLatching | kAllowAllUp),
    Control("ToolbarFormato", "FontName", ControlKind::FontCombo, "Changes font", "FontNameClick"),
    Control("ToolbarFormato", "FontColor", ControlKind::ColorCombo, "Font color", "FontColorClick"),
    Control("ToolbarFormato", "FontSize", ControlKind::SpinBox, "Font size", "FontSizeBtnClick"),

    Bar("ToolbarParag", "Paragraphs").Flags(kObjectToolbar),
    Button("ToolbarParag", "StyleParButton", "Style", "Stileparagrafo1Click"),
    Button("ToolbarParag", "LeftAlign", "Align left", "AlignButtonClick").Tag(0).Flags(kLatching).Group(1),
    Button("ToolbarParag", "CenterAlign", "Center", "AlignButtonClick").Tag(2).Flags(kLatching).Group(1),
    Button("ToolbarParag", "RightAlign", "Align right", "AlignButtonClick").Tag(1).Flags(kLatching).Group(1),
    Button("ToolbarParag", "BulletsButton", "Bullet list", "BulletsButtonClick")
        .Flags(kLatching | kAllowAllUp)
        .Group(2),
    Button("ToolbarParag", "NumberButton", "Numbered list", "BulletsButtonClick")
        .Flags(kLatching | kAllowAllUp)
        .Group(2),
    Button("ToolbarParag", "RiduciRientroButton", "Reduce indent", "RiduciRientroButtonClick"),
    Button("ToolbarParag", "AumentaRientroButton", "Increase indent", "AumentaRientroButtonClick"),
    Control("ToolbarParag", "ParStyle", ControlKind::ComboBox, "Change style", "ParStyleClick"),

    Bar("ToolbarInserimenti", "Insertions").Flags(kObjectToolbar),
    Button("ToolbarInserimenti", "ImageButton", "Insert image", "ImageButtonClick"),
    Button("ToolbarInserimenti", "TableButton", "Insert table", "TableButtonClick"),
    Button("ToolbarInserimenti", "InputsButton", "Insert input", "InputsButtonClick"),
    Button("ToolbarInserimenti", "ButtonButton", "Insert button", "ButtonButtonClick"),
    Button("ToolbarInserimenti", "AniButton", "Insert multimedia", "AniButtonClick"),
    Button("ToolbarInserimenti", "FloatingButton", "Insert floating frame", "FloatingButtonClick"),
    Button("ToolbarInserimenti", "CustomButton", "Insert custom", "MenuItem12Click")
        .Flags(kShownAtStart)
        .Drops("PopupMenuCus"),
    Button("ToolbarInserimenti", "BinsDBloc", "Insert local DB element", "ComponenteDBlocale1Click").Flags(kHidden),

    Bar("ToolBarImage", "Images").Flags(kObjectToolbar),
    Button("ToolBarImage", "ImageProp", "Image properties", "ProprietImmag1Click"),
    Button("ToolBarImage", "LinkImmagine", "Link for image", "LinkImmagineClick").Flags(kLatching | kAllowAllUp),
    Button("ToolBarImage", "AddClickZone", "Add click area", "AddClickZoneClick"),
    Button("ToolBarImage", "CancelClickZone", "Delete click area", "CancelClickZoneClick"),
    Button("ToolBarImage", "SecondoPiano", "Send to back", "SecondoPianoClick"),
    Button("ToolBarImage", "PrimoPiano", "Bring to front", "PrimoPianoClick"),
    Button("ToolBarImage", "LinkZone", "Link for click area", "LinkZoneClick"),
    Button("ToolBarImage", "BEditImage", "Image edit", "EditaImgClick"),

    Bar("ToolbarFloating", "Floating frames").Flags(kObjectToolbar),
    Button("ToolbarFloating", "FloatProp", "Floating frame properties", "ProprietaFloatingClick"),
    Button("ToolbarFloating", "ToolbarButton974", "Floating frame edit", "EditaFloatingClick"),
    Button("ToolbarFloating", "PrecFloating", "Previous page in floating frame", "PrecedenteFloatClick"),

    Bar("ToolbarTable", "Table").Flags(kObjectToolbar),
    Button("ToolbarTable", "TableProp", "Table properties", "ProprietaTabellaClick"),
    Button("ToolbarTable", "AddCol", "Add column", "AddColClick"),
    Button("ToolbarTable", "AddRow", "Add row", "AddRowClick"),
    Button("ToolbarTable", "BaggInTab", "Add rows/columns", "Aggiungi1Click"),
    Button("ToolbarTable", "CancColonna", "Delete selected column", "Eliminacolonna1Click"),
    Button("ToolbarTable", "CancRiga", "Delete selected row", "Eliminariga1Click"),

    // ---- Popup menus of the frame set ----
    Popup("PopupMenuTabella", "PopupTable PopupTableChild"),
    Item("PopupMenuTabella", "TabProprieta", "&Table/cells properties", "ProprietaTabellaClick"),
    Sep("PopupMenuTabella"),
    TARN_CLIPBOARD("PopupMenuTabella", "Tab"),
    Sep("PopupMenuTabella"),
    SubMenu("PopupMenuTabella", "TabRows", "&Rows..."),
    Item("TabRows", "TabAddRow", "&Add row", "Aggiungiriga1Click"),
    Item("TabRows", "TabDeleteRow", "&Delete row", "Eliminariga1Click"),
    SubMenu("PopupMenuTabella", "TabColumns", "Colu&mns..."),
    Item("TabColumns", "TabAddColumn", "&Add column", "Aggiungicolonna1Click"),
    Item("TabColumns", "TabDeleteColumn", "&Delete column", "Eliminacolonna1Click"),
    Item("PopupMenuTabella", "TabAdd", "&Add...", "Aggiungi1Click"),
    Sep("PopupMenuTabella"),
    Item("PopupMenuTabella", "TabPageProperties", "Pa&ge properties...", "DiPagina1Click").Tag(2),
    Item("PopupMenuTabella", "TabCopyBackground", "Copy &background in clipboard",
         "CopiaSfondoincartellaappuntiClick"),
    Item("PopupMenuTabella", "TabSelectTable", "&Select table", "Selezionatabella1Click"),
    Item("PopupMenuTabella", "TabSelectText", "&Select text in cell", "Selezionatutto3Click"),

    Popup("PopupMenuCorniceFiglia", "PopupFrameChild"),
    Item("PopupMenuCorniceFiglia", "CfPageProperties", "&Page properties...", "DiPagina1Click").Tag(2),
    Item("PopupMenuCorniceFiglia", "CfChoosePage", "&Choose page in frame...", "DiPagina1Click").Tag(1),
    Item("PopupMenuCorniceFiglia", "Editacornicedasola1", "&Edit frame...", "Editacornicedasola1Click"),
    Sep("PopupMenuCorniceFiglia"),
    TARN_CLIPBOARD("PopupMenuCorniceFiglia", "Cf"),
    Sep("PopupMenuCorniceFiglia"),
    Item("PopupMenuCorniceFiglia", "CfSaveLayout", "Save &frameset layout...", "SalvaDispCorniciClick")
        .Flags(kEditOnly),
    Item("PopupMenuCorniceFiglia", "CfLoadLayout", "&Load frameset layout...", "Caricadisposizionecornici1Click")
        .Flags(kEditOnly),
    Sep("PopupMenuCorniceFiglia"),
    Item("PopupMenuCorniceFiglia", "CfSelectAll", "&Select all", "Selezionatutto3Click"),
    Item("PopupMenuCorniceFiglia", "CfCopyBackground", "Copy &background in clipboard",
         "CopiaSfondoincartellaappuntiClick"),

    Popup("PopupMenuCorniceUnica", "PopupFrame"),
    Item("PopupMenuCorniceUnica", "CuPageProperties", "&Page properties...", "DiPagina1Click").Tag(2),
    Sep("PopupMenuCorniceUnica"),
    TARN_CLIPBOARD("PopupMenuCorniceUnica", "Cu"),
    Sep("PopupMenuCorniceUnica"),
    Item("PopupMenuCorniceUnica", "CuLoadLayout", "&Load frameset layout...", "Caricadisposizionecornici2Click")
        .Flags(kEditOnly),
    Sep("PopupMenuCorniceUnica"),
    Item("PopupMenuCorniceUnica", "CuSelectAll", "&Select all", "Selezionatutto3Click"),
    Item("PopupMenuCorniceUnica", "CuCopyBackground", "Copy &background in clipboard",
         "CopiaSfondoincartellaappuntiClick"),

    Popup("PopupMenuZona", "PopupMapZone"),
    Item("PopupMenuZona", "ZoAddArea", "&Add area", "AddClickZoneClick"),
    Item("PopupMenuZona", "ZoFront", "&Bring to front", "PrimoPianoClick"),
    Item("PopupMenuZona", "ZoBack", "&Send to back", "SecondoPianoClick"),
    Sep("PopupMenuZona"),
    TARN_CLIPBOARD("PopupMenuZona", "Zo"),
    Sep("PopupMenuZona"),
    Item("PopupMenuZona", "ZoLink", "&Define link...", "LinkZoneClick"),
    Item("PopupMenuZona", "ZoSpecialLink", "D&efine special link...", "DefCollSpecZoneClick"),
    Item("PopupMenuZona", "Definiscicollancora1", "Define link to last inserted anchor",
         "Definiscicollancora1Click"),
    Item("PopupMenuZona", "ZoFollow", "&Follow link", "SeguiCollZoneClick"),

    Popup("PopupMenuImmagine", "PopupImage"),
    Item("PopupMenuImmagine", "ImProperties", "&Image properties...", "ProprietImmag1Click"),
    Item("PopupMenuImmagine", "ImAddArea", "&Add area", "AddClickZoneClick"),
    Item("PopupMenuImmagine", "Im100", "100%", "Img100percClick"),
    Item("PopupMenuImmagine", "Im50", "50%", "Img50percClick"),
    Item("PopupMenuImmagine", "ImEdit", "&Edit...", "EditaImgClick"),
    Sep("PopupMenuImmagine"),
    TARN_CLIPBOARD("PopupMenuImmagine", "Im"),
    Sep("PopupMenuImmagine"),
    Item("PopupMenuImmagine", "ImLink", "&Define link...", "LinkImmagineClick"),
    Item("PopupMenuImmagine", "ImSpecialLink", "D&efine special link...", "DefCollSpecImageClick"),
    Item("PopupMenuImmagine", "ImFollow", "&Follow link", "Segui1Click"),

    Popup("PopupMenuSemplice", "PopupComment PopupJava"),
    Item("PopupMenuSemplice", "SeProperties", "&Properties...", "ProprietaSempliceClick"),
    Item("PopupMenuSemplice", "Vaiapaginariferita1", "&Go to related page...", "Vaiapaginariferita1Click"),
    Sep("PopupMenuSemplice"),
    Item("PopupMenuSemplice", "SeCut", "Cu&t", "EditCut").Flags(kEditOnly),
    Item("PopupMenuSemplice", "SeCopy", "&Copy", "EditCopy"),

    Popup("PopupMenuInput", "PopupMultimedia PopupInput PopupDin PopupFormStart"),
    Item("PopupMenuInput", "InProperties", "&Properties...", "ProprietaOggettoInClick"),
    Item("PopupMenuInput", "Vaiapaginariferita2", "&Go to related page...", "Vaiapaginariferita1Click"),
    Sep("PopupMenuInput"),
    Item("PopupMenuInput", "InCut", "Cu&t", "EditCut").Flags(kEditOnly),
    Item("PopupMenuInput", "InCopy", "&Copy", "EditCopy"),

    Popup("PopupMenuFloating", "PopupFloating"),
    Item("PopupMenuFloating", "FlProperties", "&Properties...", "ProprietaFloatingClick"),
    Sep("PopupMenuFloating"),
    Item("PopupMenuFloating", "FlEdit", "&Edit...", "EditaFloatingClick"),
    Item("PopupMenuFloating", "FlPrevious", "P&revious...", "PrecedenteFloatClick").Flags(kHidden),
    Sep("PopupMenuFloating"),
    Item("PopupMenuFloating", "FlCut", "Cu&t", "EditCut").Flags(kHidden),
    Item("PopupMenuFloating", "FlCopy", "&Copy", "EditCopy"),

    Popup("PopupMenuButton", "PopupButton"),
    Item("PopupMenuButton", "BtProperties", "&Properties...", "ProprietaBottoniClick"),
    Item("PopupMenuButton", "BtFollow", "&Follow link...", "SeguicollegamentoBtnClick"),
    Sep("PopupMenuButton"),
    Item("PopupMenuButton", "BtCut", "Cu&t", "EditCut").Flags(kEditOnly),
    Item("PopupMenuButton", "BtCopy", "&Copy", "EditCopy"),

    Popup("PopupHeader", "PopupInactive"),
    Item("PopupHeader", "HeHeaderFooter", "H&eader and footer...", "DiPagina1Click").Tag(3),
    Sep("PopupHeader"),
    Item("PopupHeader", "VaiATestata1", "Go to &header", "VaiATestata1Click"),
    Item("PopupHeader", "VaiAPie1", "Go to &footer", "VaiAPie1Click"),

    Popup("PopupSpecLink", "PopupSpecLink"),
    Item("PopupSpecLink", "Proprietcollegamento1", "&Link properties...", "Proprietcollegamento1Click"),
    Item("PopupSpecLink", "Seguicollegamento1", "&Follow link", "Seguicollegamento1Click"),
    Sep("PopupSpecLink"),
    TARN_CLIPBOARD("PopupSpecLink", "Sl"),
    Sep("PopupSpecLink"),
    Item("PopupSpecLink", "SlPageProperties", "&Page properties...", "DiPagina1Click").Tag(2),
    Item("PopupSpecLink", "SlLoadLayout", "&Load frameset layout...", "Caricadisposizionecornici2Click")
        .Flags(kEditOnly),
    Sep("PopupSpecLink"),
    Item("PopupSpecLink", "SlSelectAll", "&Select all", "Selezionatutto3Click"),
    Item("PopupSpecLink", "SlCopyBackground", "Copy &background in clipboard", "CopiaSfondoincartellaappuntiClick"),

    Popup("PopupGenLink", "PopupGenLink"),
    Item("PopupGenLink", "SeguiGenLink1", "Follow lin&k", "SeguiGenLinkClick"),
    Item("PopupGenLink", "Editafile1", "Edit file...", "Editafile1Click"),
    Sep("PopupGenLink"),
    TARN_CLIPBOARD("PopupGenLink", "Gl"),
    Sep("PopupGenLink"),
    Item("PopupGenLink", "GlPageProperties", "&Page properties...", "DiPagina1Click").Tag(2),
    Item("PopupGenLink", "GlLoadLayout", "Load &frameset layout...", "Caricadisposizionecornici2Click")
        .Flags(kEditOnly),
    Sep("PopupGenLink"),
    Item("PopupGenLink", "GlSelectAll", "&Select all", "Selezionatutto3Click"),
    Item("PopupGenLink", "GlCopyBackground", "Copy &background in clipboard", "CopiaSfondoincartellaappuntiClick"),

    // The text box rebuilds this one for each misspelt word; its design
    // items have no operation of their own.
    Popup("PopupMenuSpell", {}),
    Item("PopupMenuSpell", "SpIgnoreAll", "&Ignore all", {}),
    Item("PopupMenuSpell", "SpAdd", "&Add", {}),
    Sep("PopupMenuSpell"),
    Item("PopupMenuSpell", "SpSpellCheck", "&Spell check...", {}),

    // The page number's own popup.
    Popup("PopupMenuChPag", {}),
    Item("PopupMenuChPag", "ScegliDaAnteprima3", "&Go to page...", "ScegliDaAnteprima1Click"),
    Item("PopupMenuChPag", "Vaiaprossimaslide1", "Go to next sli&de", "Vaiaprossimaslide1Click")
        .Flags(kShownAtStart),
    Sep("PopupMenuChPag"),
    Item("PopupMenuChPag", "VaiATestata2", "Go to &header", "VaiATestata1Click"),
    Item("PopupMenuChPag", "VaiAPie2", "Go to &footer", "VaiAPie1Click"),
    Sep("PopupMenuChPag", "N39").Flags(kHidden),

    // The drop-down of the custom component button: the library's
    // prototypes come before the separator.
    Popup("PopupMenuCus", {}),
    Sep("PopupMenuCus", "MenuItemLimit"),
    Item("PopupMenuCus", "MenuItem12", "&Insert...", "MenuItem12Click"),

    // The drop-downs of the undo and redo buttons: the steps to undo.
    Popup("UndoDrop", {}),
    Popup("RedoDrop", {}),
};

#undef TARN_CLIPBOARD

constexpr std::array<CommandEntry, std::size(kRows)> Entries() {
  std::array<CommandEntry, std::size(kRows)> entries{};
  for (std::size_t i = 0; i < std::size(kRows); ++i) entries[i] = kRows[i];
  return entries;
}
constexpr auto kEntries = Entries();

// What this version has built. Kept in step with the bindings by a test.
constexpr std::string_view kBuilt[] = {
    "FileNew",        "FileOpen",           "FileSave",          "FileSaveAs",           "BFileExportClick",
    "FileExit",       "EditCut",            "EditCopy",          "EditPaste",            "Selezionabrano1Click",
    "Selezionatutto3Click", "CoverButtonClick", "SummaryButtonClick", "Sololettura1Click", "EditButtonClick",
    "Mostracornici1Click", "NestedButtonClick", "BPrecedenteClick", "BseguenteClick",   "Pagina11Click",
    "Pagina12Click",  "Ricaricapagina1Click", "Correntepagina1Click", "PreviewHypertextClick",
    "Opzionidelprogramma1Click", "Opzioni2Click", "HelpAbout", "HelpContents", "HelpSearch", "Esempi1Click",
    "Salvacomemodello1Click", "Vediquery1Click", "HypertextSearchClick", "Diagrammadeicollegamenti1Click",
    "FilePrint", "Stampatutte1Click", "Stampapaginacorrente1Click", "Impostastampante1Click",
    "Impostamargini1Click", "Ordinepredefinitopagine1Click",
    // Moving between pages and following links.
    "PageNumberChange", "HistoryComboClick", "ScegliDaAnteprima1Click", "VaiATestata1Click", "VaiAPie1Click",
    "Vaiaprossimaslide1Click", "Seguicollegamentodoppioclic1Click", "Seguicollegamento1Click", "SeguiGenLinkClick",
    "UndoButtonClick", "RedoButtonClick", "AlignButtonClick",
    // The export and import dialogs.
    "EsportaHtml1Click", "EsportaWinHelp1Click", "Importa1Click", "BFileImportClick",
    // Publishing.
    "PublishHypertextFtpClick", "Pubblicapaginacorrenteinrete1Click", "FTPgenerico1Click", "Configurazioni1Click",
    "PubblicaAEHtramiteFTP1Click", "PublishHypertextClick", "GetHypertextClick", "Configurazione1Click",
    "Cambiapassword1Click",
    // Search and spelling.
    "Cercasostituisci1Click", "CercaSostituisci2Click", "Ripetiultimaricerca1Click", "RepeatSearchInHypertextClick",
    "CercaKeyButtonClick", "Cercaconoperatori1Click", "Controlloortografia1Click", "SpellCheckHypertextClick",
    // Formatting, styles and links.
    "BoldButtonClick", "ItalicButtonClick", "Normale1Click", "Pedice1Click", "Apice1Click", "BulletsButtonClick",
    "RiduciRientroButtonClick", "AumentaRientroButtonClick", "Riformatta1Click", "FontNameClick",
    "FontColorClick", "FontSizeBtnClick", "ParStyleClick", "SelectFont", "LinkButtonClick",
    "Collegamentoautoreferente1Click", "Nuovostile1Click", "Stileparagrafo1Click", "StyleParButtonClick",
    // Tables.
    "TableButtonClick", "ProprietaTabellaClick", "Aggiungiriga1Click", "AddRowClick", "Aggiungicolonna1Click",
    "AddColClick", "Eliminariga1Click", "Eliminacolonna1Click", "Aggiungi1Click", "Selezionatabella1Click",
    // Pictures, click zones, form controls, buttons and floating frames.
    "ImageButtonClick", "FloatingButtonClick", "InputsButtonClick", "ButtonButtonClick",
    "Marcatorediiniziomodulo1Click", "AddClickZoneClick", "CancelClickZoneClick", "PrimoPianoClick",
    "SecondoPianoClick", "Img100percClick", "Img50percClick", "SeguiCollZoneClick", "Segui1Click", "LinkZoneClick",
    "DefCollSpecZoneClick", "Definiscicollancora1Click",
    "ProprietImmag1Click",
    // Anchors, new pages and page properties.
    "Ancora1Click", "NuovaPaginaClick", "DiPagina1Click",
    // Special links of the text and of pictures.
    "Collegamentospeciale1Click", "Proprietcollegamento2Click", "Proprietcollegamento1Click",
    "DefCollSpecImageClick",
};

std::string_view KeyName(int key) {
  switch (key) {
    case kKeyBack: return "Backspace";
    case kKeyInsert: return "Ins";
    case kKeyDelete: return "Del";
    case kKeyPlus: return "+";
    case kKeyMinus: return "-";
    default: return {};
  }
}

}  // namespace

std::span<const CommandEntry> CommandTable() { return kEntries; }

const CommandEntry* FindCommand(std::string_view name) {
  for (const CommandEntry& entry : kEntries) {
    if (!name.empty() && entry.name == name) return &entry;
  }
  return nullptr;
}

std::vector<const CommandEntry*> ChildrenOf(std::string_view parent) {
  std::vector<const CommandEntry*> children;
  for (const CommandEntry& entry : kEntries) {
    if (entry.parent == parent) children.push_back(&entry);
  }
  return children;
}

std::span<const std::string_view> BuiltOperations() { return kBuilt; }

bool IsBuilt(std::string_view method) {
  return !method.empty() && std::find(std::begin(kBuilt), std::end(kBuilt), method) != std::end(kBuilt);
}

std::string ShortcutText(std::uint16_t shortcut) {
  if (shortcut == 0) return {};
  std::string text;
  if ((shortcut & kCtrl) != 0) text += "Ctrl+";
  if ((shortcut & kAlt) != 0) text += "Alt+";
  if ((shortcut & kShift) != 0) text += "Shift+";
  const int key = shortcut & 0xFF;
  if (key >= kKeyF1 && key < kKeyF1 + 24) {
    text += "F" + std::to_string(key - kKeyF1 + 1);
  } else if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
    text += static_cast<char>(key);
  } else if (std::string_view name = KeyName(key); !name.empty()) {
    text += name;
  } else {
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", key);
    text += code;
  }
  return text;
}

std::string PlainCaption(std::string_view caption) {
  std::string plain;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        plain += '&';
        ++i;
      }
      continue;
    }
    plain += caption[i];
  }
  return plain;
}

std::string CommandPath(const CommandEntry& entry) {
  std::vector<std::string> parts;
  const CommandEntry* at = &entry;
  while (at != nullptr) {
    switch (at->kind) {
      case CommandKind::Toolbar: parts.push_back("Toolbar " + std::string(at->caption)); break;
      case CommandKind::Popup: parts.push_back("Popup " + std::string(at->name)); break;
      case CommandKind::Separator: parts.push_back(at->name.empty() ? "-" : "- (" + std::string(at->name) + ")"); break;
      default: parts.push_back(PlainCaption(at->caption)); break;
    }
    at = at->parent.empty() ? nullptr : FindCommand(at->parent);
  }
  std::string path;
  for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
    if (!path.empty()) path += " > ";
    path += *it;
  }
  return path;
}

std::string NotAvailableMessage(std::string_view what) {
  return std::string(what) + " is not available in this version yet.";
}

std::string NotAvailableWhat(const CommandEntry& entry) {
  std::string what = PlainCaption(entry.kind == CommandKind::Item ? entry.caption : base::ShortHint(entry.hint));
  while (!what.empty() && (what.back() == '.' || what.back() == ' ')) what.pop_back();
  return what;
}

}  // namespace tarn::app
