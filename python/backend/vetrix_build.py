"""The build backend of the vetrix Python package (PEP 517), for
``python3 -m pip install --no-build-isolation .`` with nothing beyond pip:
CMake builds the extension (python/CMakeLists.txt) for the Python running
this backend, and the wheel, a zip of the package with its METADATA, WHEEL
and RECORD, is written here."""

import base64
import hashlib
import os
import re
import subprocess
import sys
import sysconfig
import tarfile
import tempfile
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def _version():
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
        return re.search(r"project\(vetrix VERSION ([0-9.]+)", f.read()).group(1)


def _dist_name():
    return f"vetrix-{_version()}"


def _tag():
    impl = {"cpython": "cp", "pypy": "pp"}.get(sys.implementation.name, sys.implementation.name)
    interpreter = f"{impl}{sys.version_info[0]}{sys.version_info[1]}"
    platform = re.sub(r"[-.]", "_", sysconfig.get_platform())
    return f"{interpreter}-{interpreter}-{platform}"


def _metadata():
    return (f"Metadata-Version: 2.1\nName: vetrix\nVersion: {_version()}\n"
            "Summary: vetrix, a conflict-driven SAT solver\nRequires-Python: >=3.7\n")


def _wheel_info():
    return f"Wheel-Version: 1.0\nGenerator: vetrix_build\nRoot-Is-Purelib: false\nTag: {_tag()}\n"


def _write_dist_info(directory):
    info = os.path.join(directory, f"{_dist_name()}.dist-info")
    os.makedirs(info, exist_ok=True)
    for name, text in (("METADATA", _metadata()), ("WHEEL", _wheel_info())):
        with open(os.path.join(info, name), "w", encoding="utf-8") as f:
            f.write(text)
    return os.path.basename(info)


def _build_extension(build):
    cmake = os.environ.get("CMAKE", "cmake")
    jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL") or str(os.cpu_count() or 1)
    subprocess.run([cmake, "-S", ROOT, "-B", build, "-DCMAKE_BUILD_TYPE=Release", "-DVETRIX_TESTS=OFF",
                    "-DVETRIX_PYTHON=ON", "-DBUILD_SHARED_LIBS=OFF", f"-DPython_EXECUTABLE={sys.executable}"],
                   check=True, stdout=sys.stderr)
    subprocess.run([cmake, "--build", build, "--target", "_vetrix", "-j", jobs], check=True, stdout=sys.stderr)
    return os.path.join(build, "python", "vetrix")


def _record_line(name, data):
    digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode()
    return f"{name},sha256={digest},{len(data)}\n"


def get_requires_for_build_wheel(config_settings=None):
    return []


def get_requires_for_build_sdist(config_settings=None):
    return []


def prepare_metadata_for_build_wheel(metadata_directory, config_settings=None):
    return _write_dist_info(metadata_directory)


def build_wheel(wheel_directory, config_settings=None, metadata_directory=None):
    wheel = os.path.join(wheel_directory, f"{_dist_name()}-{_tag()}.whl")
    with tempfile.TemporaryDirectory(prefix="vetrix-build-") as build:
        package = _build_extension(build)
        entries = []
        for name in sorted(os.listdir(package)):
            path = os.path.join(package, name)
            if os.path.isfile(path):
                with open(path, "rb") as f:
                    entries.append((f"vetrix/{name}", f.read()))
        info = f"{_dist_name()}.dist-info"
        entries += [(f"{info}/METADATA", _metadata().encode()), (f"{info}/WHEEL", _wheel_info().encode())]
        record = "".join(_record_line(name, data) for name, data in entries) + f"{info}/RECORD,,\n"
        with zipfile.ZipFile(wheel, "w", zipfile.ZIP_DEFLATED) as zf:
            for name, data in entries + [(f"{info}/RECORD", record.encode())]:
                zf.writestr(name, data)
    return os.path.basename(wheel)


def _source_files():
    """The checkout's tracked files, or every file but build trees and caches."""
    try:
        listed = subprocess.run(["git", "-C", ROOT, "ls-files", "-z"], check=True, capture_output=True).stdout
        return [name for name in listed.decode().split("\0") if name]
    except (OSError, subprocess.CalledProcessError):
        files = []
        for top, dirs, names in os.walk(ROOT):
            dirs[:] = [d for d in dirs if not d.startswith(("build", ".git", "__pycache__"))]
            files += [os.path.relpath(os.path.join(top, name), ROOT) for name in names]
        return sorted(files)


def build_sdist(sdist_directory, config_settings=None):
    sdist = os.path.join(sdist_directory, f"{_dist_name()}.tar.gz")
    with tarfile.open(sdist, "w:gz") as tar:
        for name in _source_files():
            tar.add(os.path.join(ROOT, name), arcname=f"{_dist_name()}/{name}", recursive=False)
        with tempfile.TemporaryDirectory() as tmp:
            info = os.path.join(tmp, "PKG-INFO")
            with open(info, "w", encoding="utf-8") as f:
                f.write(_metadata())
            tar.add(info, arcname=f"{_dist_name()}/PKG-INFO")
    return os.path.basename(sdist)
