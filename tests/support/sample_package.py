"""A small sample package archive for the demo: a few folders, listed ahead of the files inside
them as the stub's packages are, with some payload to make the download visible."""
import io
import random
import zipfile


def make_sample_package(path, payload_bytes=4 * 1024 * 1024):
    rng = random.Random(1099)  # the same bytes every time
    with zipfile.ZipFile(path, "w") as archive:
        for folder in ("zhi/", "zhi/pz/", "bin/"):
            archive.writestr(zipfile.ZipInfo(folder), b"")
        archive.writestr("readme.txt", "Zorvel 示例软件包\r\n".encode("gbk"),
                         compress_type=zipfile.ZIP_DEFLATED)
        # Random bytes do not compress: the archive is about as large as the payload.
        archive.writestr("bin/payload.dat", rng.randbytes(payload_bytes))
    return path


if __name__ == "__main__":
    import sys
    make_sample_package(sys.argv[1])
