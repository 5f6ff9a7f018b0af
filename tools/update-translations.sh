#!/bin/sh
# Refreshes Translations/*.ts from the code and the forms. Run it on purpose
# after changing a user-visible text, then translate the new entries (Qt
# Linguist: linguist Translations/fr.ts) until none is left unfinished; the
# i18n tests fail while one is. The build compiles the .ts files to .qm.
set -e
cd "$(dirname "$0")/.."
for ts in Translations/*.ts; do
    lang=$(basename "$ts" .ts)
    lupdate -locations none -no-obsolete -source-language en -target-language "$lang" src forms -ts "$ts"
done
