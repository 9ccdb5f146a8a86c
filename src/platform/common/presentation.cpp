#include "platform/presentation.h"

#include "platform/backend.h"

namespace platform {
namespace {
// The player's choice; lives for the process, set back by ResetPresentation.
Presentation g_presentation;
}  // namespace

void ResetPresentation() { g_presentation = Presentation{}; }

Presentation CurrentPresentation() { return g_presentation; }

void SetPresentation(Presentation presentation) {
  g_presentation = presentation;
  CurrentBackend().PresentationChanged();
}

}  // namespace platform
