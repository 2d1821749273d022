#!/bin/sh
# make_form_seeds.sh FOLDER SEEDS DEMO: the form-description fuzz corpus's
# seeds in FOLDER: the descriptions in SEEDS, and the demo form DEMO with its
# class and handlers renamed to those of the fuzz target's form.
set -eu
OUT=${1:?usage: make_form_seeds.sh FOLDER SEEDS DEMO}
rm -rf "$OUT"
mkdir -p "$OUT"
cp "$2"/*.form "$OUT/"
sed -e 's/: TDemoForm$/: TFuzzForm/' -e 's/OnChange = .*/OnChange = Changed/' \
    -e 's/OnClick = .*/OnClick = Clicked/' "$3" >"$OUT/demo.form"
