#include "skin/core/qxresstrs.h"

#include <array>

namespace {

// One table for both the component's defaults and the texts of controls
// without a table.
constexpr std::array<TqxResStrDefault, 131> Defaults = {{
    {u"MI_MINCAPTION", u"Mi&nimize"},
    {u"MI_MAXCAPTION", u"Ma&ximize"},
    {u"MI_CLOSECAPTION", u"&Close"},
    {u"MI_RESTORECAPTION", u"&Restore"},
    {u"MI_MINTOTRAYCAPTION", u"Minimize to &Tray"},
    {u"MI_ROLLUPCAPTION", u"Ro&llUp"},
    {u"MINBUTTON_HINT", u"Minimize"},
    {u"MAXBUTTON_HINT", u"Maximize"},
    {u"CLOSEBUTTON_HINT", u"Close"},
    {u"TRAYBUTTON_HINT", u"Minimize to Tray"},
    {u"ROLLUPBUTTON_HINT", u"Roll Up"},
    {u"MENUBUTTON_HINT", u"System menu"},
    {u"RESTORE_HINT", u"Restore"},
    {u"EDIT_UNDO", u"Undo"},
    {u"EDIT_COPY", u"Copy"},
    {u"EDIT_CUT", u"Cut"},
    {u"EDIT_PASTE", u"Paste"},
    {u"EDIT_DELETE", u"Delete"},
    {u"EDIT_SELECTALL", u"Select All"},
    {u"MSG_BTN_YES", u"&Yes"},
    {u"MSG_BTN_NO", u"&No"},
    {u"MSG_BTN_OK", u"OK"},
    {u"MSG_BTN_CANCEL", u"Cancel"},
    {u"MSG_BTN_ABORT", u"&Abort"},
    {u"MSG_BTN_RETRY", u"&Retry"},
    {u"MSG_BTN_IGNORE", u"&Ignore"},
    {u"MSG_BTN_ALL", u"&All"},
    {u"MSG_BTN_NOTOALL", u"N&oToAll"},
    {u"MSG_BTN_YESTOALL", u"&YesToAll"},
    {u"MSG_BTN_HELP", u"&Help"},
    {u"MSG_BTN_OPEN", u"&Open"},
    {u"MSG_BTN_SAVE", u"&Save"},
    {u"MSG_BTN_CLOSE", u"Close"},
    {u"MSG_BTN_BACK_HINT", u"Go To Last Folder Visited"},
    {u"MSG_BTN_UP_HINT", u"Up One Level"},
    {u"MSG_BTN_NEWFOLDER_HINT", u"Create New Folder"},
    {u"MSG_BTN_VIEWMENU_HINT", u"View Menu"},
    {u"MSG_BTN_STRETCH_HINT", u"Stretch Picture"},
    {u"MSG_FILENAME", u"File name:"},
    {u"MSG_FILETYPE", u"File type:"},
    {u"MSG_NEWFOLDER", u"New Folder"},
    {u"MSG_LV_DETAILS", u"Details"},
    {u"MSG_LV_ICON", u"Large icons"},
    {u"MSG_LV_SMALLICON", u"Small icons"},
    {u"MSG_LV_LIST", u"List"},
    {u"MSG_PREVIEWSKIN", u"Preview"},
    {u"MSG_PREVIEWBUTTON", u"Button"},
    {u"MSG_OVERWRITE", u"Do you want to overwrite old file?"},
    {u"MSG_CAP_WARNING", u"Warning"},
    {u"MSG_CAP_ERROR", u"Error"},
    {u"MSG_CAP_INFORMATION", u"Information"},
    {u"MSG_CAP_CONFIRM", u"Confirm"},
    {u"MSG_CAP_SHOWFLAG", u"Do not display this message again"},
    {u"CALC_CAP", u"Calculator"},
    {u"ERROR", u"Error"},
    {u"COLORGRID_CAP", u"Basic colors"},
    {u"CUSTOMCOLORGRID_CAP", u"Custom colors"},
    {u"ADDCUSTOMCOLORBUTTON_CAP", u"Add to Custom Colors"},
    {u"FONTDLG_COLOR", u"Color:"},
    {u"FONTDLG_NAME", u"Name:"},
    {u"FONTDLG_SIZE", u"Size:"},
    {u"FONTDLG_HEIGHT", u"Height:"},
    {u"FONTDLG_EXAMPLE", u"Example:"},
    {u"FONTDLG_STYLE", u"Style:"},
    {u"FONTDLG_SCRIPT", u"Script:"},
    {u"DB_DELETE_QUESTION", u"Delete record?"},
    {u"DB_MULTIPLEDELETE_QUESTION", u"Delete all selected records?"},
    {u"NODISKINDRIVE", u"There is no disk in Drive or Drive is not ready"},
    {u"NOVALIDDRIVEID", u"Not a valid Drive ID"},
    {u"FLV_NAME", u"Name"},
    {u"FLV_SIZE", u"Size"},
    {u"FLV_TYPE", u"Type"},
    {u"FLV_LOOKIN", u"Look in: "},
    {u"FLV_MODIFIED", u"Modified"},
    {u"FLV_ATTRIBUTES", u"Attributes"},
    {u"FLV_DISKSIZE", u"Disk Size"},
    {u"FLV_FREESPACE", u"Free Space"},
    {u"PRNDLG_NAME", u"Name:"},
    {u"PRNDLG_PRINTER", u"Printer"},
    {u"PRNDLG_PROPERTIES", u"Properties..."},
    {u"PRNDLG_TYPE", u"Type:"},
    {u"PRNDLG_STATUS", u"Status:"},
    {u"PRNDLG_WHERE", u"Where:"},
    {u"PRNDLG_COMMENT", u"Comment:"},
    {u"PRNDLG_PRINTRANGE", u"Print range"},
    {u"PRNDLG_COPIES", u"Copies"},
    {u"PRNDLG_NUMCOPIES", u"Number of copies:"},
    {u"PRNDLG_COLLATE", u"Collate"},
    {u"PRNDLG_ALL", u"All"},
    {u"PRNDLG_PAGES", u"Pages"},
    {u"PRNDLG_SELECTION", u"Selection"},
    {u"PRNDLG_PRINTTOFILE", u"Print to file"},
    {u"PRNDLG_FROM", u"from:"},
    {u"PRNDLG_TO", u"to:"},
    {u"PRNDLG_ORIENTATION", u"Orientation"},
    {u"PRNDLG_PAPER", u"Paper"},
    {u"PRNDLG_PORTRAIT", u"Portrait"},
    {u"PRNDLG_LANDSCAPE", u"Landscape"},
    {u"PRNDLG_SOURCE", u"Source:"},
    {u"PRNDLG_SIZE", u"Size:"},
    {u"PRNDLG_MARGINS", u"Margins (millimeters)"},
    {u"PRNDLG_MARGINS_INCHES", u"Margins (inches)"},
    {u"PRNDLG_LEFT", u"Left:"},
    {u"PRNDLG_RIGHT", u"Right:"},
    {u"PRNDLG_TOP", u"Top:"},
    {u"PRNDLG_BOTTOM", u"Bottom:"},
    {u"PRNDLG_WARNING", u"There are no printers in your system!"},
    {u"FIND_NEXT", u"Find next"},
    {u"FIND_WHAT", u"Find what:"},
    {u"FIND_DIRECTION", u"Direction"},
    {u"FIND_DIRECTIONUP", u"Up"},
    {u"FIND_DIRECTIONDOWN", u"Down"},
    {u"FIND_MATCH_CASE", u"Match case"},
    {u"FIND_MATCH_WHOLE_WORD_ONLY", u"Match whole word only"},
    {u"FIND_REPLACE_WITH", u"Replace with:"},
    {u"FIND_REPLACE", u"Replace"},
    {u"FIND_REPLACE_All", u"Replace All"},
    {u"FIND_REPLACE_CLOSE", u"Close"},
    {u"MORECOLORS", u"More colors..."},
    {u"AUTOCOLOR", u"Automatic"},
    {u"CUSTOMCOLOR", u"Custom..."},
    {u"DBNAV_FIRST", u"FIRST"},
    {u"DBNAV_PRIOR", u"PRIOR"},
    {u"DBNAV_NEXT", u"NEXT"},
    {u"DBNAV_LAST", u"LAST"},
    {u"DBNAV_INSERT", u"INSERT"},
    {u"DBNAV_DELETE", u"DELETE"},
    {u"DBNAV_EDIT", u"EDIT"},
    {u"DBNAV_POST", u"POST"},
    {u"DBNAV_CANCEL", u"CANCEL"},
    {u"DBNAV_REFRESH", u"REFRESH"},
}};

}  // namespace

std::span<const TqxResStrDefault> DefaultResStrs() {
    return Defaults;
}

String GetDefaultResStr(std::u16string_view AKey) {
    for (const TqxResStrDefault& entry : Defaults)
        if (AnsiSameText(entry.Key, AKey)) return entry.Text;
    return String();
}

TqxResourceStrData::TqxResourceStrData(TComponent* AOwner)
    : TComponent(AOwner), FResStrs(std::make_unique<TStringList>()), FCharSet(win::DEFAULT_CHARSET) {
    for (const TqxResStrDefault& entry : Defaults)
        FResStrs->Add(String(entry.Key) + u"=" + entry.Text);
}

String TqxResourceStrData::GetResStr(std::u16string_view AResName) const {
    const Integer index = FResStrs->IndexOfName(AResName);
    if (index < 0) return String();
    const String line = FResStrs->Get(index);
    return line.substr(line.find(u'=') + 1);
}
