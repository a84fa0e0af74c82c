// ChooseIcon with the password tree's image list.

#include "DialogsTestSupport.h"

#include "components/ui/ImageListTreeView.h"
#include "services/ui/Dialogs.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace keyholm::test {
namespace {

const char* const Prompt = "Choisissez l'icône de la catégorie :";

QListWidgetItem* ItemOfKey(QListWidget* list, const QString& key)
{
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->data(Qt::UserRole).toString() == key)
            return list->item(row);
    return nullptr;
}

std::function<void(QWidget*)> Pick(const QString& key)
{
    return [key](QWidget* window) {
        auto* list = Child<QListWidget>(window, "ListViewIcon");
        ASSERT_NE(list, nullptr);
        QListWidgetItem* item = ItemOfKey(list, key);
        ASSERT_NE(item, nullptr) << key.toStdString();
        list->setCurrentItem(item);
    };
}

QString ChooseCategoryIcon(const QString& currentKey, bool returnKey = true)
{
    return ChooseIcon(Prompt, ImageListTreeView::Instance(), {}, true, currentKey, "Dir", returnKey);
}

using IconDialogTest = DialogTest;

TEST_F(IconDialogTest, DirFilterListsTheLabelledCategoryIconsAndPreselectsTheCurrentOne)
{
    const ImageListTreeView& images = ImageListTreeView::Instance();
    ModalHelper modal;
    modal.Expect("Lib_SelectIcon")
        .Do([&](QWidget* window) {
            auto* list = Child<QListWidget>(window, "ListViewIcon");
            ASSERT_NE(list, nullptr);
            QStringList keys;
            for (int row = 0; row < list->count(); ++row) {
                const QString key = list->item(row)->data(Qt::UserRole).toString();
                keys << key;
                EXPECT_EQ(list->item(row)->text(), images.Label(key)) << key.toStdString();
            }
            EXPECT_EQ(keys, images.CategoryKeys());
            EXPECT_TRUE(keys.contains("DirKey"));
            EXPECT_FALSE(keys.contains("DirNot"));
            ASSERT_NE(list->currentItem(), nullptr);
            EXPECT_EQ(list->currentItem()->data(Qt::UserRole).toString(), "DirMail");
            EXPECT_TRUE(list->currentItem()->isSelected());
            EXPECT_TRUE(list->viewport()->rect().intersects(list->visualItemRect(list->currentItem())));
            if (auto* label = Child<QLabel>(window, "theLabel")) {
                EXPECT_EQ(label->text(), Prompt);
                EXPECT_TRUE(label->font().bold());
            }
            EXPECT_NE(Child<QPushButton>(window, "CancelButton"), nullptr);
            EXPECT_GE(window->minimumWidth(), 378);
            EXPECT_GE(window->minimumHeight(), 313);
        })
        .Click("OKButton");
    EXPECT_EQ(ChooseCategoryIcon("DirMail"), "DirMail");
    EXPECT_TRUE(modal.Wait());
    EXPECT_TRUE(TraceDetail("Loading icon dialog window").has_value());
    EXPECT_EQ(TraceDetail("DirMail"), Prompt);
}

TEST_F(IconDialogTest, AnswersTheChosenKeyOrLabel)
{
    struct Case {
        const char* name;
        QString current;
        bool returnKey;
        QString expected;
    };
    const std::vector<Case> cases {
        { "key", "DirMail", true, "DirHeart" },
        { "label", "DirMail", false, "Coeur" },
        // the current key is matched by key or label, ignoring case
        { "current in other case", "dirmail", true, "DirHeart" },
        { "current given as label", "MAIL", true, "DirHeart" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModalHelper modal;
        modal.Expect("Lib_SelectIcon")
            .Do([](QWidget* window) {
                auto* list = Child<QListWidget>(window, "ListViewIcon");
                ASSERT_NE(list, nullptr);
                ASSERT_NE(list->currentItem(), nullptr);
                EXPECT_EQ(list->currentItem()->data(Qt::UserRole).toString(), "DirMail");
            })
            .Do(Pick("DirHeart"))
            .Click("OKButton");
        EXPECT_EQ(ChooseCategoryIcon(c.current, c.returnKey), c.expected);
        EXPECT_TRUE(modal.Wait());
    }
}

TEST_F(IconDialogTest, DoubleClickOnAnIconConfirmsIt)
{
    ModalHelper modal;
    modal.Expect("Lib_SelectIcon").Do([](QWidget* window) {
        auto* list = Child<QListWidget>(window, "ListViewIcon");
        ASSERT_NE(list, nullptr);
        QListWidgetItem* item = ItemOfKey(list, "DirStar");
        ASSERT_NE(item, nullptr);
        list->scrollToItem(item);
        const QPoint centre = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    });
    EXPECT_EQ(ChooseCategoryIcon("Dir"), "DirStar");
    EXPECT_TRUE(modal.Wait());
}

TEST_F(IconDialogTest, CancelAnswersEmpty)
{
    for (const bool useButton : { true, false }) {
        SCOPED_TRACE(useButton ? "CancelButton" : "close");
        ModalHelper modal;
        auto& window = modal.Expect("Lib_SelectIcon").Do(Pick("DirHeart"));
        if (useButton)
            window.Click("CancelButton");
        else
            window.Do([](QWidget* w) { w->close(); });
        EXPECT_EQ(ChooseCategoryIcon("DirMail"), "");
        EXPECT_TRUE(modal.Wait());
    }
}

TEST_F(IconDialogTest, WithoutFilterEveryImageIsOffered)
{
    const ImageListTreeView& images = ImageListTreeView::Instance();
    ModalHelper modal;
    modal.Expect("Lib_SelectIcon")
        .Do([&](QWidget* window) {
            EXPECT_EQ(window->windowTitle(), "Icône");
            if (auto* list = Child<QListWidget>(window, "ListViewIcon")) {
                EXPECT_EQ(list->count(), images.Keys().size());
            }
        })
        .Do(Pick("PasswordNot"))
        .Click("OKButton");
    EXPECT_EQ(ChooseIcon(Prompt, images, "Icône", false, "Root", {}, true), "PasswordNot");
    EXPECT_TRUE(modal.Wait());
}

} // namespace
} // namespace keyholm::test
