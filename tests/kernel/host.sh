# Host side of the kernel test (scripts/test-kernel): fetches Debian's kernel package into a
# cache folder and builds the initramfs the VM boots. Sourced, not run.

# Prints the folder holding the unpacked kernel package (boot/vmlinuz-*, lib/modules/*).
# The package is downloaded with apt-get, never installed; a kernel once unpacked is used
# again until Debian has a newer one. Stale package lists are renewed once.
kernel_folder() {
  local cache=$1 folder
  mkdir -p "$cache"
  if ! folder=$(fetch_kernel "$cache"); then
    echo "test-kernel: renewing the package lists" >&2
    sudo_if_needed apt-get update -q >&2 || true
    folder=$(fetch_kernel "$cache") || folder=$(ls -d "$cache"/linux-image-*/ 2>/dev/null | sort -V | tail -n 1)
  fi
  if [ -z "$folder" ]; then
    echo "test-kernel: could not download Debian's linux-image-amd64 package" >&2
    return 1
  fi
  echo "${folder%/}"
}

sudo_if_needed() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Downloads and unpacks the kernel package linux-image-amd64 now depends on, unless it is in
# the cache; removes older ones. Prints its folder.
fetch_kernel() {
  local cache=$1 package version folder work
  package=$(apt-cache depends linux-image-amd64 2>/dev/null |
    sed -n 's/^ *Depends: \(linux-image-[0-9][^ ]*\)$/\1/p' | head -n 1)
  version=$(apt-cache policy "$package" 2>/dev/null | sed -n 's/^ *Candidate: //p')
  if [ -z "$package" ] || [ -z "$version" ] || [ "$version" = "(none)" ]; then return 1; fi
  folder=$cache/${package}_$version
  if [ ! -f "$folder/.unpacked" ]; then
    echo "test-kernel: downloading $package $version into $cache" >&2
    # A folder apt's download sandbox user may write to.
    work=$(mktemp -d)
    chmod 777 "$work"
    if ! (cd "$work" && apt-get download -q "$package=$version" >&2) ||
       ! dpkg-deb -x "$work"/*.deb "$work/unpacked"; then
      rm -rf "$work"
      return 1
    fi
    rm -rf "$cache"/linux-image-*
    mv "$work/unpacked" "$folder"
    rm -rf "$work"
    touch "$folder/.unpacked"
  fi
  echo "$folder"
}

# Copies kernel module NAME and the modules it depends on from the unpacked KERNEL to ROOT.
copy_module() {
  local kernel=$1 root=$2 name=$3 file dep
  file=$(find "$kernel"/lib/modules/*/kernel \( -name "$name.ko*" -o -name "${name//-/_}.ko*" \) | head -n 1)
  if [ -z "$file" ]; then echo "test-kernel: kernel module $name not found in $kernel" >&2; return 1; fi
  [ -e "$root/${file#"$kernel/"}" ] && return 0
  mkdir -p "$root/$(dirname "${file#"$kernel/"}")"
  cp "$file" "$root/${file#"$kernel/"}"
  # The module's .modinfo strings name what it needs: depends=a,b
  for dep in $(tr '\0' '\n' <"$file" | sed -n 's/^depends=//p' | tr ',' ' '); do
    copy_module "$kernel" "$root" "$dep" || return 1
  done
}

# Copies the shared libraries each FILE loads (ldd) to the same paths under ROOT.
copy_libraries() {
  local root=$1 lib
  shift
  for lib in $(ldd "$@" 2>/dev/null | sed -n 's/.*=> \(\/[^ ]*\) .*/\1/p; s/^[[:space:]]*\(\/[^ ]*\) .*/\1/p' | sort -u); do
    mkdir -p "$root/$(dirname "$lib")"
    cp -L "$lib" "$root/$lib"
  done
}

# Builds IMAGE: busybox, the i2c modules, the built i2c-dev program folder (with the
# command-line program when it is built) at /opt/kts/i2c-dev with the libraries it loads,
# Qt's offscreen platform, one font, i2c-tools, and the VM's scripts.
build_initramfs() {
  local kernel=$1 program_folder=$2 scripts=$3 image=$4
  local root plugin file name elves=()
  root=$(mktemp -d)
  mkdir -p "$root"/{bin,dev,proc,sys,tmp,etc/fonts,usr/sbin,opt/kts/i2c-dev}
  cp /bin/busybox "$root/bin/busybox"
  for name in i2c-dev i2c-stub i2c-piix4; do copy_module "$kernel" "$root" "$name" || return 1; done
  cp "$program_folder"/* "$root/opt/kts/i2c-dev/"
  for file in "$program_folder"/*; do
    if [ "$(head -c 4 "$file" | tail -c 3)" = ELF ]; then elves+=("$file"); fi
  done
  # Qt looks for its platform plugins at the path it was built with.
  plugin=$(find /usr/lib -path '*/qt6/plugins/platforms/libqoffscreen.so' | head -n 1)
  mkdir -p "$root/$(dirname "$plugin")"
  cp "$plugin" "$root/$plugin"
  for name in i2cset i2cget i2cdetect; do cp "/usr/sbin/$name" "$root/usr/sbin/"; done
  copy_libraries "$root" "${elves[@]}" "$plugin" /usr/sbin/i2cset
  cp /etc/fonts/fonts.conf "$root/etc/fonts/"
  mkdir -p "$root/usr/share/fonts/truetype/dejavu"
  cp /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf "$root/usr/share/fonts/truetype/dejavu/"
  cp "$scripts/init" "$root/init"
  cp "$scripts"/checks.sh "$scripts"/cli-checks.sh "$root/opt/kts/"
  (cd "$root" && find . | cpio -o -H newc --quiet) > "$image"
  rm -rf "$root"
}
