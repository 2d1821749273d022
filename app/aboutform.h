// The about box: the program's picture and title and the maker's links.
#pragma once

#include "platform/toolkit/forms.h"

class TqxSkinLinkLabel;

class TForm2 : public TForm {
public:
    using TForm::TForm;

    TqxSkinLinkLabel* qxSkinLinkLabel1 = nullptr;
    TqxSkinLinkLabel* qxSkinLinkLabel2 = nullptr;

    void FormCreate(TObject* Sender);
    void qxSkinButton1Click(TObject* Sender);
};

extern TForm2* Form2;
