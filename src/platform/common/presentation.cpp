#include "platform/presentation.h"

#include "platform/backend.h"
#include "platform/common/platform_state.h"

namespace platform {

Presentation PlayerPresentation;

void ResetPresentation() { PlayerPresentation = Presentation{}; }

Presentation CurrentPresentation() { return PlayerPresentation; }

void SetPresentation(Presentation presentation) {
  PlayerPresentation = presentation;
  CurrentBackend().PresentationChanged();
}

}  // namespace platform
