# Shared by run.sh and test.sh: the Debian packages the project needs, installed only when
# missing, and the build.

BUILD_PACKAGES=(cmake ninja-build g++ pkg-config ccache
    qt6-base-dev qt6-multimedia-dev libqt6multimedia6 libsimpleini-dev libsoxr-dev libgsm1-dev
    libmpg123-dev libavcodec-dev libavformat-dev libavutil-dev libswresample-dev libcli11-dev
    nlohmann-json3-dev qt6-qpa-plugins libqt6svg6 qt6-svg-dev libxcb1-dev help2man libsndfile1-dev
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n)
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
    pulseaudio pulseaudio-utils xvfb xauth xdotool openbox x11-utils dbus-daemon sox libsox-fmt-all ffmpeg lame twolame flac
    dpkg-dev file lintian appstream man-db bash-completion fish zsh munge slurmctld slurmd slurm-client)

ensure_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

jobs_count() { nproc 2>/dev/null || echo 2; }
