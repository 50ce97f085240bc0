# Shared by scripts/test and scripts/bench: 32-bit Windows code under 32-bit Wine, its i386 code
# carried by user-mode emulation, since this kernel does not run 32-bit x86 code itself.
#
# Wine starts a 32-bit program by executing its 32-bit loader, so the kernel must hand i386 ELF
# files to qemu-i386 through binfmt_misc. The handler (and the binfmt_misc mount, when there was
# none) exist only while a run needs them: end_i386_emulation takes away what begin_i386_emulation
# added once no other run uses it, and leaves what was there before as it was.

BINFMT_DIR=/proc/sys/fs/binfmt_misc
VANTREL_HANDLER=vantrel-i386
QEMU_I386=/usr/bin/qemu-i386
# An ELF32 little-endian executable or shared object for the i386 machine (qemu's own pattern).
I386_MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
I386_MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

# The runs that use the handler now, one file per process id: scripts/run holds it for as long as
# the program runs, and a scripts/test beside it must neither take it away nor lose it.
EMULATION_USERS=${TMPDIR:-/tmp}/vantrel-i386.users
# Made by the run that mounted binfmt_misc: the last run to end unmounts it.
EMULATION_MOUNT_MARK=$EMULATION_USERS/mounted

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo -n "$@"; fi
}

# qemu 7.2 of bookworm cannot finish a 32-bit Wine prefix (wineboot segfaults under it): the
# backports' qemu-user is needed, and 32-bit Wine from the i386 architecture.
install_i386_emulation_packages() {
    local wanted_qemu=1:8
    local qemu_version
    qemu_version=$(dpkg-query -W -f '${Version}' qemu-user 2>/dev/null)
    if [ -n "$qemu_version" ] && dpkg --compare-versions "$qemu_version" ge "$wanted_qemu" &&
        dpkg -s wine32:i386 >/dev/null 2>&1; then
        return 0
    fi
    local codename backports
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    backports=$codename-backports
    echo "Installing: qemu-user from $backports, wine32:i386"
    if ! grep -rqs "$backports" /etc/apt/sources.list /etc/apt/sources.list.d/; then
        as_root tee /etc/apt/sources.list.d/vantrel-backports.sources >/dev/null <<EOF
Types: deb
URIs: http://deb.debian.org/debian
Suites: $backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    fi
    as_root dpkg --add-architecture i386 &&
        as_root apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
            -t "$backports" qemu-user >/dev/null &&
        DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
            wine32:i386 >/dev/null
}

# True when an enabled handler already sends i386 ELF files to a qemu-i386.
has_i386_handler() {
    local entry
    for entry in "$BINFMT_DIR"/*; do
        [ -f "$entry" ] && [ "$(basename "$entry")" != register ] &&
            [ "$(basename "$entry")" != status ] || continue
        grep -qx enabled "$entry" && grep -q '^interpreter .*qemu-i386' "$entry" && return 0
    done
    return 1
}

# Runs the rest of a begin or an end alone: two runs starting or ending at once would both
# register, or both unmount.
with_users_locked() {
    mkdir -p "$EMULATION_USERS"
    (
        flock 9
        "$@"
    ) 9>"$EMULATION_USERS/lock"
}

# True when a run other than this one still uses the handler; forgets the runs that have died.
other_users_alive() {
    local user alive=1
    for user in "$EMULATION_USERS"/[0-9]*; do
        [ -e "$user" ] || continue
        if [ "$(basename "$user")" = "$$" ]; then
            continue
        elif kill -0 "$(basename "$user")" 2>/dev/null; then
            alive=0
        else
            rm -f "$user"
        fi
    done
    return $alive
}

# Registers the i386 handler for this run; fails with a message naming the missing step.
begin_i386_emulation() {
    if [ ! -x "$QEMU_I386" ]; then
        echo "32-bit tests: $QEMU_I386 is missing (Debian's qemu-user from backports)" >&2
        return 1
    fi
    with_users_locked begin_locked
}

begin_locked() {
    touch "$EMULATION_USERS/$$"
    if ! grep -qs " $BINFMT_DIR binfmt_misc " /proc/mounts; then
        if ! as_root mount -t binfmt_misc binfmt_misc "$BINFMT_DIR" 2>/dev/null; then
            echo "32-bit tests: cannot mount binfmt_misc on $BINFMT_DIR" \
                "(needs root and a kernel with binfmt_misc)" >&2
            rm -f "$EMULATION_USERS/$$"
            return 1
        fi
        touch "$EMULATION_MOUNT_MARK"
    fi
    # Ours, from a run that still uses it or from one that was killed before it could clean up;
    # or another that already sends i386 files to qemu-i386, which is left as it is.
    [ -e "$BINFMT_DIR/$VANTREL_HANDLER" ] && return 0
    has_i386_handler && return 0
    # F: the kernel opens the emulator now, so it is found whatever the started program's root.
    if ! printf ':%s:M::%s:%s:%s:F' "$VANTREL_HANDLER" "$I386_MAGIC" "$I386_MASK" "$QEMU_I386" |
        as_root tee "$BINFMT_DIR/register" >/dev/null 2>&1; then
        echo "32-bit tests: cannot register an i386 handler in $BINFMT_DIR/register" \
            "(needs root)" >&2
        end_locked
        return 1
    fi
}

# Takes away the handler and the mount that this project's runs added, once the last run using
# them ends; what was there before any of them stays.
end_i386_emulation() {
    [ -e "$EMULATION_USERS/$$" ] || return 0
    with_users_locked end_locked
}

end_locked() {
    rm -f "$EMULATION_USERS/$$"
    other_users_alive && return 0
    if [ -e "$BINFMT_DIR/$VANTREL_HANDLER" ]; then
        echo -1 | as_root tee "$BINFMT_DIR/$VANTREL_HANDLER" >/dev/null
    fi
    if [ -e "$EMULATION_MOUNT_MARK" ]; then
        as_root umount "$BINFMT_DIR" && rm -f "$EMULATION_MOUNT_MARK"
    fi
}
