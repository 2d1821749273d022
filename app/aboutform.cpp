#include "app/aboutform.h"

#include "app/addresses.h"
#include "platform/toolkit/published.h"
#include "skin/controls/qxskinlinklabel.h"

TForm2* Form2 = nullptr;

// The addresses live in one place (addresses.h), so the links take them here.
void TForm2::FormCreate(TObject*) {
    qxSkinLinkLabel1->SetURL(HomePageAddress);
    qxSkinLinkLabel1->SetCaption(HomePageAddress);
    qxSkinLinkLabel2->SetURL(SupportMailLink);
    qxSkinLinkLabel2->SetCaption(SupportMailAddress);
}

void TForm2::qxSkinButton1Click(TObject*) {
    Close();
}

namespace {

const auto Registered = RegisterForm<TForm2>(u"TForm2.form")
                            .Handler(u"FormCreate", &TForm2::FormCreate)
                            .Handler(u"qxSkinButton1Click", &TForm2::qxSkinButton1Click)
                            .Field(u"qxSkinLinkLabel1", &TForm2::qxSkinLinkLabel1)
                            .Field(u"qxSkinLinkLabel2", &TForm2::qxSkinLinkLabel2);

}  // namespace
