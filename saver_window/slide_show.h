#pragma once

#include <memory>
#include <vector>

#include "forms_runtime/application.h"
#include "forms_runtime/basics/later_slot.h"
#include "saver_window/prepared_slide.h"

namespace kivo::saver_window {

class frmScreenSaver;

// The windows of one slide show: one per monitor in full screen, one in the preview. The first to
// join leads: its list of the folder's files is every window's, and its timer ticks for all.
//
// At a tick every window shows the slide prepared for it, all in one event, so that they change
// together and nothing half-done is ever painted. Then each window's next slide is chosen, a file
// that no other window shows next where the folder has enough of them, and the chosen files are
// loaded one after another, the leader's first, never two at once. A slide not ready at its tick
// shows the moment it arrives. While the displays are off nothing is prepared, and prepared
// pictures are let go. Window's thread only.
class SlideShow {
  public:
    explicit SlideShow(forms::Application& app) : app_(app) {}
    SlideShow(const SlideShow&) = delete;
    SlideShow& operator=(const SlideShow&) = delete;

    void Join(frmScreenSaver& window);
    // The window goes: what was prepared for it is let go. Prepare() then starts the next load if
    // its load was under way.
    void Leave(frmScreenSaver& window);
    bool Leads(const frmScreenSaver& window) const;
    std::vector<frmScreenSaver*> Windows() const;

    // The leader's list has arrived: its windows' first slides are prepared.
    void Listed();
    // Every window shows its prepared slide, or shows it once it arrives; then the next ones are
    // prepared.
    void Tick();
    // Chooses a next slide for each shown window that has none, and loads the next in turn.
    void Prepare();
    void Rest(bool resting);

  private:
    enum class Stage { None, Chosen, Loading, Ready };
    struct Surface {
        frmScreenSaver* window = nullptr;
        Stage stage = Stage::None;
        PreparedSlide next;
        bool due = false;       // its tick has come: it shows `next` as soon as it is ready
        forms::LaterSlot load;  // the load of `next`
    };

    void Choose(Surface& surface);
    // A position no other window has chosen, near `drawn`, when the list has one.
    std::int32_t Apart(const Surface& surface, std::int32_t drawn, std::int32_t count) const;
    void Load(Surface& surface);
    void Show(Surface& surface);

    forms::Application& app_;
    std::vector<std::unique_ptr<Surface>> surfaces_;  // the leader first
    Surface* loading_ = nullptr;
    bool listed_ = false;
    bool resting_ = false;
};

}  // namespace kivo::saver_window
