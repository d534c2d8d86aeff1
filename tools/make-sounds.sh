#!/usr/bin/env bash
# Builds the program's 33 wave sounds into resources/sounds/ from nothing but
# sox tones and espeak-ng speech, so anyone can regenerate them bit for bit.
#
#   tools/make-sounds.sh            (needs: sox, espeak-ng)
#
# Every sound ends up mono, 16000 Hz, 16-bit, a second or two at most; all of
# them together stay well under 2 MB because the program carries them inside.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
out="$here/resources/sounds"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

rate=16000
# -R: repeatable (fixed seeds for noise and dither); -D: no dither at all.
sx() { sox -R -D "$@"; }

# Final form of every sound: mono, fixed rate, 16-bit, peak at -1 dBFS, short
# fades so nothing clicks when a new sound cuts the previous one off.
finish() { # finish IN NAME
    sx "$1" -b 16 -e signed-integer "$out/$2.wav" \
        channels 1 gain -6 rate "$rate" gain -n -1 fade t 0.005 0 0.02
}

# A synthesised tone sequence: each argument is "LENGTH:TONE" where TONE is
# what sox's synth effect takes after the length ("sine 880", "square 150-120").
tones() { # tones NAME SHAPE-EFFECTS -- PART...
    local name=$1 shape=$2 i=0 parts=()
    shift 2
    for p in "$@"; do
        sx -n -r "$rate" -c 1 "$work/$name.$i.wav" synth ${p%%:*} ${p#*:} $shape
        parts+=("$work/$name.$i.wav")
        i=$((i + 1))
    done
    sx "${parts[@]}" "$work/$name.joined.wav"
    finish "$work/$name.joined.wav" "$name"
}

# Speech: VOICE PITCH SPEED TEXT [extra sox effects].
say() { # say NAME VOICE PITCH SPEED TEXT [EFFECTS...]
    local name=$1 voice=$2 pitch=$3 speed=$4 text=$5
    shift 5
    espeak-ng -v "$voice" -p "$pitch" -s "$speed" -w "$work/$name.raw.wav" "$text"
    sx "$work/$name.raw.wav" "$work/$name.trim.wav" \
        silence 1 0.01 0.5% reverse silence 1 0.01 0.5% reverse "$@"
    finish "$work/$name.trim.wav" "$name"
}

# --- game events ----------------------------------------------------------

# A player sat down: a two-note door chime.
tones entered "fade q 0.005 -0 0.25" 0.32:"sine 659.3" 0.45:"sine 523.3"
# A card slides across the cloth: a soft burst of filtered noise.
sx -n -r "$rate" -c 1 "$work/getcard.wav" synth 0.13 pinknoise gain -6 \
    highpass 900 lowpass 5000 fade q 0.01 0.13 0.09
finish "$work/getcard.wav" getcard
# A card lands on the table: a short, brighter snap.
sx -n -r "$rate" -c 1 "$work/placecard.wav" synth 0.07 whitenoise gain -6 \
    highpass 1500 fade q 0.002 0.07 0.06
finish "$work/placecard.wav" placecard
# The card just clicked may not be played: a low buzz.
tones notvalid "fade h 0.01 -0 0.05 gain -6 lowpass 1200" 0.38:"square 150-135"
# The own seat took the trick: a quick rising arpeggio.
tones trickwinner "fade q 0.003 -0 0.04" \
    0.09:"sine 523.3" 0.09:"sine 659.3" 0.22:"sine 784"
# Classic turn signal: one bell stroke.
sx -n -r "$rate" -c 1 "$work/turn.wav" synth 0.6 sine 880 synth 0.6 sine mix 1760 \
    fade q 0.003 0.6 0.55
finish "$work/turn.wav" turn
# The newer turn signal: two short blips.
tones turnnew "fade q 0.003 -0 0.03" 0.09:"triangle 660" 0.04:"sine 0" 0.12:"triangle 990"
# A game was won: a small fanfare.
tones winner "fade q 0.005 -0 0.05" \
    0.14:"sawtooth 523.3" 0.14:"sawtooth 659.3" 0.14:"sawtooth 784" 0.55:"sawtooth 1046.5"
# A side was euchred: a sinking trombone.
tones euchred "fade q 0.01 -0 0.04 gain -6 lowpass 1800" \
    0.25:"sawtooth 392" 0.25:"sawtooth 370" 0.25:"sawtooth 349.2" 0.7:"sawtooth 330-300"
# Points for the own side: two cheerful notes up a major third.
tones gotpoints "fade q 0.005 -0 0.06" 0.15:"sine 784" 0.35:"sine 987.8"
# A march: three drum-like hits and a bright chord.
tones marched "fade q 0.002 -0 0.07" \
    0.1:"square 196" 0.1:"square 196" 0.1:"square 196" 0.6:"sawtooth 523.3"
# No points for the own side: two notes falling a minor third.
tones nopoints "fade q 0.005 -0 0.08" 0.2:"sine 440" 0.4:"sine 370"
# Nothing plays this one; it is kept so the set of names stays complete.
tones order "fade q 0.003 -0 0.05" 0.12:"sine 587.3"

# --- chatter sounds (wave1 to wave20) --------------------------------------

say wave1 en-us 30 150 "Doh!"
# A cough: two short, rough bursts of noise shaped like a voice.
sx -n -r "$rate" -c 1 "$work/c1.wav" synth 0.16 brownnoise band 500 400 gain -6 fade q 0.005 0.16 0.12
sx -n -r "$rate" -c 1 "$work/c0.wav" synth 0.08 sine 0
sx -n -r "$rate" -c 1 "$work/c2.wav" synth 0.2 brownnoise band 420 350 gain -6 fade q 0.005 0.2 0.16
sx "$work/c1.wav" "$work/c0.wav" "$work/c2.wav" "$work/cough.wav" overdrive 12
finish "$work/cough.wav" wave2
say wave3 en-us 50 160 "Hello!"
say wave4 en-us 50 160 "Thank you!"
say wave5 en-us 50 165 "Where have you been?"
# Snoring: slow low rumble that swells and fades, twice.
sx -n -r "$rate" -c 1 "$work/snore.wav" synth 1.6 brownnoise synth 1.6 sine amod 0.9 90 gain -6 \
    lowpass 400 tremolo 30 60
finish "$work/snore.wav" wave6
say wave7 en-us 70 170 "Ah, ah, choo!"
say wave8 en-us 40 140 "Sorry."
say wave9 en-us 50 150 "Welcome!"
say wave10 en-us 60 170 "Yee haa!"
say wave11 en-us+f3 75 170 "Yippee!"
say wave12 en-us 35 130 "Oh no!"
# Applause: a crowd of claps made from rapidly gated noise.
sx -n -r "$rate" -c 1 "$work/applause.wav" synth 1.6 whitenoise tremolo 13 90 gain -6 \
    highpass 700 fade q 0.1 1.6 0.6
finish "$work/applause.wav" wave13
# A two-tone horn.
tones wave14 "fade q 0.01 -0 0.03 gain -6 lowpass 2500" 0.22:"square 392" 0.35:"square 330"
say wave15 en-us 60 90 "Oooh!"
# Razzberry: a buzzing, wobbling low sawtooth.
sx -n -r "$rate" -c 1 "$work/razz.wav" synth 0.75 sawtooth 95 tremolo 28 70 gain -6 \
    lowpass 1400 overdrive 10 fade q 0.01 0.75 0.1
finish "$work/razz.wav" wave16
say wave17 en-us 65 160 "Hooray!"
say wave18 en-us+f4 90 190 "Ha ha ha ha ha!"
say wave19 en-us 20 160 "Ho ho ho ho!"
say wave20 en-us 45 110 "Boo hoo hoo" tremolo 6 40

echo "sounds written to $out:"
du -cb "$out"/*.wav | tail -n 1
