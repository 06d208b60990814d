#!/usr/bin/env bash
# The x86_64 and the Windows wheels built again from the sdist in another directory are the same
# bytes as the release's. With the release step's interpreter (Debian's), whose tools'
# environment it shares.
set -euo pipefail
cd "$(dirname "$0")/../.."
env -u VIRTUAL_ENV -u PYENV_VERSION PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  PYTHON=/usr/bin/python3 bash tools/reproducible.sh
