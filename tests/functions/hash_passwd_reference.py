#!/usr/bin/env python3
"""Independent reference of hash_passwd, used once to compute the golden values that
test_password_hash.cpp checks. Written from the algorithm's description with full-state
Mersenne Twisters (no shortcuts) and Python's own Base64; run it to print the goldens."""
import base64

M32, M64 = (1 << 32) - 1, (1 << 64) - 1


class MT:
    def __init__(self, bits, seed):
        if bits == 32:
            self.n, self.m, self.a, self.f = 624, 397, 0x9908B0DF, 1812433253
            self.u, self.d, self.s, self.b = 11, 0xFFFFFFFF, 7, 0x9D2C5680
            self.t, self.c, self.l, self.mask = 15, 0xEFC60000, 18, M32
        else:
            self.n, self.m, self.a, self.f = 312, 156, 0xB5026F5AA96619E9, 6364136223846793005
            self.u, self.d, self.s, self.b = 29, 0x5555555555555555, 17, 0x71D67FFFEDA60000
            self.t, self.c, self.l, self.mask = 37, 0xFFF7EEE000000000, 43, M64
        self.w = bits
        self.mt = [seed & self.mask]
        for i in range(1, self.n):
            p = self.mt[-1]
            self.mt.append((self.f * (p ^ (p >> (self.w - 2))) + i) & self.mask)
        self.i = self.n

    def __call__(self):
        if self.i >= self.n:
            upper = self.mask & ~0x7FFFFFFF
            for k in range(self.n):
                y = (self.mt[k] & upper) | (self.mt[(k + 1) % self.n] & 0x7FFFFFFF)
                v = self.mt[(k + self.m) % self.n] ^ (y >> 1)
                if y & 1:
                    v ^= self.a
                self.mt[k] = v
            self.i = 0
        y = self.mt[self.i]
        self.i += 1
        y ^= (y >> self.u) & self.d
        y ^= (y << self.s) & self.b & self.mask
        y ^= (y << self.t) & self.c & self.mask
        y ^= y >> self.l
        return y & self.mask


def signed_seed(byte):
    return byte - 256 + (1 << 32) if byte >= 128 else byte


def pad(x):
    n = len(x)
    r = n % 64
    if r == 0:
        return bytes(x)
    out = bytearray(x)
    g = MT(32, signed_seed(x[0]))
    for k in range(64 - r):
        idx = g() % n
        out.append(((g() >> 24) ^ x[idx]) & 0xFF)
        g = MT(32, signed_seed(out[k + 1]))
    return bytes(out)


GF4 = [[0, 0, 0, 0], [0, 1, 2, 3], [0, 2, 3, 1], [0, 3, 1, 2]]


def digest(x):
    if not x:
        return b""
    w = x if len(x) % 64 == 0 else pad(x)
    nb = len(w) // 64
    q = bytearray()
    c = 0
    for b in range(nb):
        words = [int.from_bytes(w[64 * b + 4 * j: 64 * b + 4 * j + 4], "little") for j in range(16)]
        T = []
        for j in range(16):
            seed = words[j] if b == 0 else (c ^ words[j])
            row = []
            for _ in range(8):
                v = MT(64, seed)()
                row.append(v)
                seed = v
            T.append(row)
        R = [0] * 16
        for i in range(16):
            a = []
            for v in T[i]:
                a += [v & M32, v >> 32]
            P1 = (((a[4]^a[10]^a[15]) & (a[7]^a[8]^a[14]) & (a[6]^a[11]^a[12])) | (a[4]^a[11]^a[14]) | (a[7]^a[10]^a[12]) | (a[6]^a[8]^a[15])) ^ a[1]
            P2 = (((a[5]^a[10]^a[15]) & (a[6]^a[11]^a[13]) & (a[7]^a[9]^a[14])) | (a[7]^a[10]^a[13]) | (a[5]^a[11]^a[14]) | (a[6]^a[9]^a[15])) ^ a[0]
            P3 = (((a[4]^a[9]^a[15]) & (a[7]^a[8]^a[13]) & (a[5]^a[11]^a[12])) | (a[5]^a[8]^a[15]) | (a[4]^a[11]^a[13]) | (a[7]^a[9]^a[12])) ^ a[2]
            P4 = (((a[6]^a[8]^a[13]) & (a[4]^a[9]^a[14]) & (a[5]^a[10]^a[12])) | (a[6]^a[9]^a[12]) | (a[5]^a[8]^a[14]) | (a[4]^a[10]^a[13])) ^ a[3]
            R[i] = ((P1 | P2) & P3) | P4
            if i >= 2:
                for m in range(i - 1):
                    R[m] ^= R[i]
        c = R[0]
        s = c >> 30
        s2 = GF4[s][s]
        e = GF4[s2][s] ^ s2 ^ 1
        for k in range(4):
            q += R[e ^ k].to_bytes(4, "little")
    if nb > 1:
        return digest(bytes(q))
    return q.hex().upper().encode()


def hash_passwd(t):
    s = b"k" + t + b"q"
    s = digest(s) + b"Kw5e_#7tRq;M+z%!" + s
    s = s + b"to mqv" + digest(s)
    s = digest(s)
    return digest(base64.b64encode(s)).decode()


if __name__ == "__main__":
    g = MT(32, 5489)
    assert [g() for _ in range(10000)][-1] == 4123659995
    g = MT(64, 5489)
    assert [g() for _ in range(10000)][-1] == 9981545732273789042
    texts = [b"", b"a", b"password", b"password ", b"hello world",
             "密码\u00e9".encode(), bytes(range(256)) * 3]
    for t in texts:
        print(repr(t[:40]), len(t), hash_passwd(t))
    for n in (1, 63, 64, 65, 128, 200):
        x = bytes((i * 37 + 11) & 0xFF for i in range(n))
        print("digest", n, digest(x).decode())
    print("pad 1", pad(b"\xc3").hex())
