// The text of form descriptions:
//
//   // a comment
//   object Form1: TForm1
//     Caption = '主窗口'
//     Font.Style = [fsBold]
//     OnCreate = FormCreate
//     object Button1: TButton
//       Caption = 'It''s ' + 'fine'#13#10
//       PopupMenu = PopupMenu1
//       SkinData = Form1.qxSkinData1
//     end
//     object ComboBox1: TComboBox
//       Items = ( 'one' 'two' )
//     end
//     object ListView1: TListView
//       Columns = <
//         item
//           Caption = 'File'
//           Width = 80
//         end>
//     end
//   end
//
// Names may hold non-ASCII letters; numbers are decimal or $hex and may be
// negative; files are UTF-8.
#pragma once

#include <vector>

#include "platform/toolkit/published.h"

VELQUA_DECLARE_EXCEPTION(EFormDescriptionError, Exception);

struct TLoadObject {
    String Name;
    String ClassName;
    Integer Line = 0;
    std::vector<TLoadAssignment> Properties;
    std::vector<TLoadObject> Children;
};

// EFormDescriptionError "<AFileName>:<line>: <what>" on a syntax error.
TLoadObject ParseFormDescription(const String& AText, const String& AFileName);
