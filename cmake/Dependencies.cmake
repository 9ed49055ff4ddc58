# Libraries of the platform layer, found through pkg-config (Debian's -dev packages;
# scripts/deps.sh installs them).
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
pkg_check_modules(PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11 xext xrandr)
pkg_check_modules(GSTREAMER REQUIRED IMPORTED_TARGET gstreamer-1.0 gstreamer-app-1.0)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
