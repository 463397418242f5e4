#!/bin/bash
# The release package of a Windows build: both programs as built, the
# user's text for this architecture and the licence, nothing else.
#   package_test.sh BUILD_DIR ARCH VERSION
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../checks.sh"
build=$1 arch=$2 version=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
name=Verdanelle-$version-$arch

cpack --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
check "the package is $name.zip" test -f "$out/$name.zip"
(cd "$out" && cmake -E tar xf "$name.zip")
check "it holds both programs and the text" equals \
    "$(cd "$out/$name" && find . -type f | sort | tr '\n' ' ')" "./LICENSE.txt ./README.txt ./Verdanelle.scr ./installer.exe "
for program in Verdanelle.scr installer.exe; do
    check "$program as built" cmp -s "$build/$program" "$out/$name/$program"
done
text=$out/$name/README.txt
check "the text names its Windows" grep -q "^Verdanelle $version for .*($arch)" "$text"
check "the text says which package for 64-bit Windows" grep -q "64-bit Windows take the x64 package" "$text"
check "the text tells of the shell's Install command" grep -q "right-click Verdanelle.scr and choose Install" "$text"
check "which copies nothing" grep -q "^copies nothing" "$text"
check "Windows asks for rights by itself" grep -q "administrator rights by itself" "$text"
check "the settings on Windows 10 and 11" grep -q "control desk.cpl,,@screensaver" "$text"
for file in README.txt LICENSE.txt; do
    check "$file has Windows line ends" equals "$(grep -c $'\r$' "$out/$name/$file")" "$(wc -l <"$out/$name/$file")"
done
case $arch in
    x86) check "x86: its processors" grep -q "run on a 486DX or later" "$text"
        check "x86: OpenGL on Windows 95" grep -q "Windows 95 needs OPENGL32.DLL" "$text" ;;
esac
finish
