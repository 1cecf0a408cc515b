#include "servicestest.h"

#include "services/mparse.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace {

struct Window
{
    Window()
    {
        widget.setWindowTitle(QStringLiteral("盘点数据"));
        label = new QLabel(QStringLiteral("合计"), &widget);
        button = new QPushButton(QStringLiteral("就绪"), &widget);
    }
    QWidget widget;
    QLabel *label;
    QPushButton *button;
};

} // namespace

using FormResources = ServicesTest;

TEST_F(FormResources, CaptionsFollowTheLanguage)
{
    setPropsString("LANGUAGE=EN");
    Window w;
    std::shared_ptr<host::Dictionary> dict;
    MParse::LoadFormResStrings(w.widget, dict, "ZARVOINDUSTRY");
    EXPECT_EQ(w.label->text(), "Total");
    EXPECT_EQ(w.button->text(), "Ready");
    ASSERT_TRUE(dict);
    EXPECT_TRUE(host::CBool(dict->Value("NeedMLColumnHeaders")));

    setPropsString("LANGUAGE=CHT");
    module().gLanguage.clear();
    Window t;
    MParse::LoadFormResStrings(t.widget, dict, "ZARVOINDUSTRY");
    EXPECT_EQ(t.widget.windowTitle(), QStringLiteral("盤點資料"));
}

TEST_F(FormResources, SimplifiedChineseLoadsNothing)
{
    setPropsString("LANGUAGE=chs");
    Window w;
    std::shared_ptr<host::Dictionary> dict;
    MParse::LoadFormResStrings(w.widget, dict, "ZARVOINDUSTRY");
    EXPECT_EQ(w.label->text(), QStringLiteral("合计"));
    EXPECT_FALSE(dict);
}

TEST_F(FormResources, FontOfTheLanguage)
{
    setPropsString("LANGUAGE=CHT");
    const auto font = MParse::GetFontProps();
    EXPECT_FALSE(host::CStr(font->Value("Font.Name")).empty());
    EXPECT_EQ(host::CLng(font->Value("Font.Charset")), 136);
    Window w;
    MParse::SetFormFont(w.widget);
    EXPECT_EQ(w.widget.font().family().toStdString(), host::CStr(font->Value("Font.Name")));
}
