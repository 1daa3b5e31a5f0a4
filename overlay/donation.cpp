#include "overlay/donation.h"

#include "program/handlers.h"
#include "program/row_windows.h"
#include "overlay/label_colours.h"
#include "overlay/startup.h"
#include "model/text.h"
#include "ui/designs.h"
#include "ui/names.h"

namespace pallo {

namespace {

using platform::ControlRef;
using platform::PictureSource;
using platform::WindowRef;

void setSupportLabel(Context& ctx, std::int32_t colour) {
    const ControlRef label{ctx.state.overlay, ui::names::overlay::supportLabel};
    if (ctx.platform.hasControl(label)) ctx.platform.setTextColour(label, colour);
}

}  // namespace

void toggleSupportWindow(Context& ctx) {
    ProgramState& st = ctx.state;
    if (ctx.platform.exists(st.donationWindow)) {
        closeDonationWindow(ctx, st.donationWindow);
        return;
    }
    st.donationWindow = ctx.platform.createWindow(ui::donationWindow(), st.overlay);
    setSupportLabel(ctx, kLabelGreen);
}

void initDonationWindow(Context& ctx, WindowRef window) {
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    // The creation event fires before createWindow returns: keep the
    // reference here so that the window is known from its first moment.
    st.donationWindow = window;
    p.setPicture(ControlRef{window, ui::names::donation::star}, p.picture(ControlRef{st.overlay, ui::names::overlay::picture}));
    p.setPicture(ControlRef{window, ui::names::donation::firstCode}, PictureSource::builtIn(assets::Picture::QrWeChat));
    p.setPicture(ControlRef{window, ui::names::donation::secondCode}, PictureSource::builtIn(assets::Picture::QrAlipay));
    const WindowSettings& o = st.settings;
    const int dpi = p.dpi(st.overlay);
    p.move(window, truncate(p.left(st.overlay) + static_cast<double>(gridStep(o.W, dpi))),
           truncate(p.top(st.overlay) + static_cast<double>(gridStep(o.H, dpi))));
    p.setVisible(window, true);
    p.setTopMost(window, true);
}

void closeDonationWindow(Context& ctx, WindowRef window) {
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    setSupportLabel(ctx, kLabelBlack);
    p.setVisible(window, false);
    p.destroy(window);
    if (window == st.donationWindow) st.donationWindow = WindowRef{};
}

void registerDonationHandlers(HandlerRegistry& handlers) {
    namespace o = ui::names::overlay;
    namespace d = ui::names::donation;
    using enum ui::EventKind;
    handlers.add({
        {o::window, o::supportLabel, LeftUp, &pallo::toggleSupportWindow},
        {d::window, Created, &pallo::initDonationWindow},
        {d::window, d::closeButton, Clicked, &pallo::closeDonationWindow},
    });
}

}  // namespace pallo
