#!/usr/bin/env python3
"""Copies the default game's files too large to keep in corpus/ as fuzz seeds.

game_seeds.py <game folder> <seeds folder>
"""
import os
import sys

game, out = sys.argv[1], sys.argv[2]


def seed(target, name, prefix=b""):
    src = os.path.join(game, name)
    if not os.path.exists(src):
        return
    os.makedirs(os.path.join(out, target), exist_ok=True)
    with open(src, "rb") as f:
        data = prefix + f.read()
    with open(os.path.join(out, target, name), "wb") as f:
        f.write(data)


seed("map", "dmapdat004.mp", b"\x01")  # the world map, its patch flag clear
seed("event_table", "eventdat.evt")
seed("event_messages", "eventmsg.mgb")
seed("scic", "event.sci")
seed("new_game", "rpg.ini")

# A save file as the game writes one: the new game in slots 0 and 3, the
# other slots unused (map 0).
ini = os.path.join(game, "rpg.ini")
if os.path.exists(ini):
    with open(ini, "rb") as f:
        block = f.read()
    used = bytes([4, 1, 30, 40]) + block[4:]
    unused = bytes(len(block))
    os.makedirs(os.path.join(out, "save"), exist_ok=True)
    with open(os.path.join(out, "save", "rpgpcd.pcd"), "wb") as f:
        f.write(used + unused * 2 + used + unused * 4)
