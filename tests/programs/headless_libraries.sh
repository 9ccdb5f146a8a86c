#!/bin/sh
# The headless runner starts in every test, fuzzer and CI job, where there is neither a
# display nor a sound server: it must load no library of SDL, of a display (X11, XCB,
# Wayland) or of a sound server or device (PulseAudio, ALSA, JACK, PipeWire, FluidSynth).
runner="$1"
libraries=$(ldd "$runner") || { echo "ldd cannot read $runner"; exit 1; }
echo "$libraries" | wc -l | sed 's/^/libraries: /'
unwanted=$(echo "$libraries" |
           grep -iE 'libSDL|libX11|libxcb|libwayland|libpulse|libasound|libjack|libpipewire|libfluidsynth|libdbus')
[ -z "$unwanted" ] || { echo "$runner loads:"; echo "$unwanted"; exit 1; }
