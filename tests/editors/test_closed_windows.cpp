// The user may close the editors while one of their handlers waits: during
// a question or during the 333 ms pause. The handler then goes no further:
// it touches no control of the closed window and writes nothing.
#include <functional>
#include <string>

#include "catalog_fixture.h"

namespace pallo::testing {
namespace {

namespace ne = ui::names::nodeEditor;
using platform::Answer;
using platform::ControlRef;

// One program per case, so its members are open to the table's steps.
class Session : public CatalogFixture {
public:
    using CatalogFixture::asc;
    using CatalogFixture::cat;
    using CatalogFixture::choose;
    using CatalogFixture::openAssociation;
    using CatalogFixture::openCatalogEditor;
    using CatalogFixture::platform;
    using CatalogFixture::readCfg;
    using CatalogFixture::state;
    using CatalogFixture::type;
    void TestBody() override {}

    ControlRef node(const char* name) { return {state().nodeEditor, name}; }
    // "编辑配置" on the options panel closes every editor.
    void closeEditors() { EXPECT_TRUE(platform.clickMouse({state().overlay, ui::names::overlay::editorsLabel})); }
    bool anyEditor() {
        return platform.exists(state().nodeEditor) || platform.exists(state().catalogEditor) ||
               platform.exists(association());
    }
};

TEST(ClosedWindows, AHandlerWhoseWindowClosedDuringAQuestionOrAWaitStops) {
    const struct {
        const char* label;
        bool atWait;  // closed during the wait, else during the first question
        std::function<void(Session&)> open;
        std::function<void(Session&)> act;
    } cases[] = {
        {"node editor: delete question", false,
         [](Session& t) {
             t.openCatalogEditor();
             t.choose(t.node(ne::nodeChooser), 1);
             ASSERT_TRUE(t.platform.selectRow(t.node(ne::childList), 0));
         },
         [](Session& t) { t.platform.click(t.node(ne::deleteButton)); }},
        {"node editor: folder question on save", false,
         [](Session& t) {
             t.openCatalogEditor();
             t.choose(t.node(ne::nodeChooser), 1);
             t.choose(t.node(ne::directoryChooser), 1);
         },
         [](Session& t) { t.platform.click(t.node(ne::saveButton)); }},
        {"node editor: emptying the last title", false,
         [](Session& t) {
             t.openCatalogEditor();
             t.choose(t.node(ne::nodeChooser), 3);
             ASSERT_TRUE(t.platform.click(t.node(ne::renameButton)));
             t.type(t.node(ne::nodeChooser), " ");
         },
         [](Session& t) { t.platform.click(t.node(ne::renameButton)); }},
        {"node editor: browse question of a preview", false,
         [](Session& t) {
             t.openCatalogEditor();
             t.type(t.node(ne::pictureEdit), "zz.png");
         },
         [](Session& t) { t.platform.click(t.node(ne::previewButton)); }},
        {"catalog editor: choosing a section", true, [](Session& t) { t.openCatalogEditor(); },
         [](Session& t) { t.platform.chooseItem(t.cat(ce::sectionChooser), 1); }},
        {"catalog editor: delete question", false,
         [](Session& t) {
             t.openCatalogEditor();
             t.choose(t.cat(ce::sectionChooser), 1);
             ASSERT_TRUE(t.platform.selectRow(t.cat(ce::entryList), 0));
         },
         [](Session& t) { t.platform.click(t.cat(ce::deleteButton)); }},
        {"association: choosing a node", true, [](Session& t) { t.openAssociation(); },
         [](Session& t) { t.platform.chooseItem(t.asc(aw::nodeChooser), 1); }},
        {"association: clear question", false,
         [](Session& t) {
             t.openAssociation();
             t.choose(t.asc(aw::nodeChooser), 1);
             ASSERT_TRUE(t.platform.selectRow(t.asc(aw::childList), 0));
         },
         [](Session& t) { t.platform.click(t.asc(aw::clearButton)); }},
        {"association: the wait after a save", true,
         [](Session& t) {
             t.openAssociation();
             t.choose(t.asc(aw::nodeChooser), 1);
             ASSERT_TRUE(t.platform.selectRow(t.asc(aw::childList), 0));
             t.platform.clearMessageBoxes();
         },
         [](Session& t) {
             t.state().store.setFaultHook([](files::WriteStep) { return true; });  // nothing may reach the file
             t.platform.click(t.asc(aw::saveButton));
         }},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.label);
        Session t;
        k.open(t);
        const std::string before = t.readCfg();
        if (k.atWait) {
            t.platform.queueDuringWait([&t] { t.closeEditors(); });
        } else {
            t.platform.setMessageBoxAnswerer([&t](const platform::headless::MessageBoxRecord&) {
                if (t.anyEditor()) t.closeEditors();
                return Answer::Yes;
            });
        }
        EXPECT_NO_THROW(k.act(t));
        EXPECT_FALSE(t.anyEditor());
        EXPECT_EQ(t.readCfg(), before);
        EXPECT_EQ(t.platform.pendingWaitActions(), 0u) << "the case did not reach its wait";
    }
}

}  // namespace
}  // namespace pallo::testing
