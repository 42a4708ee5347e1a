"""The rules of standard chess for the match runner, independent of the engines it judges:
legal moves in coordinate notation, check, mate and stalemate, repetitions, the fifty-move
rule, insufficient material, FEN and SAN. Written for clarity, not speed: a game's moves are
checked in milliseconds.

`python3 scripts/chess_rules.py` runs a self-check: move counts (perft) of known positions
and the draw rules on small examples.
"""

START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"

KNIGHT_STEPS = ((1, 2), (2, 1), (2, -1), (1, -2), (-1, -2), (-2, -1), (-2, 1), (-1, 2))
KING_STEPS = ((1, 0), (1, 1), (0, 1), (-1, 1), (-1, 0), (-1, -1), (0, -1), (1, -1))
ROOK_RAYS = ((1, 0), (-1, 0), (0, 1), (0, -1))
BISHOP_RAYS = ((1, 1), (1, -1), (-1, 1), (-1, -1))


def square_name(square):
    return "abcdefgh"[square % 8] + str(square // 8 + 1)


def square_of(name):
    return "abcdefgh".index(name[0]) + 8 * (int(name[1]) - 1)


def colour_of(piece):
    return "w" if piece.isupper() else "b"


class Board:
    """A position: `squares[0..63]` (a1 = 0, h8 = 63) holding FEN letters or None."""

    def __init__(self, fen=START_FEN):
        fields = fen.split()
        if len(fields) < 4:
            raise ValueError(f"bad FEN: {fen!r}")
        self.squares = [None] * 64
        rows = fields[0].split("/")
        if len(rows) != 8:
            raise ValueError(f"bad FEN: {fen!r}")
        for row_index, row in enumerate(rows):
            file = 0
            for char in row:
                if char.isdigit():
                    file += int(char)
                elif char in "pnbrqkPNBRQK" and file < 8:
                    self.squares[(7 - row_index) * 8 + file] = char
                    file += 1
                else:
                    raise ValueError(f"bad FEN: {fen!r}")
            if file != 8:
                raise ValueError(f"bad FEN: {fen!r}")
        self.turn = fields[1]
        self.castling = "" if fields[2] == "-" else fields[2]
        self.ep = None if fields[3] == "-" else square_of(fields[3])
        self.halfmoves = int(fields[4]) if len(fields) > 4 else 0
        self.fullmove = int(fields[5]) if len(fields) > 5 else 1
        self.history = [self.repetition_key()]

    # --- attacks and moves -------------------------------------------------------------

    def attacked(self, square, by):
        """Whether colour `by` attacks `square`."""
        f, r = square % 8, square // 8
        pawn_rank = r - 1 if by == "w" else r + 1
        pawn = "P" if by == "w" else "p"
        for df in (-1, 1):
            if 0 <= f + df < 8 and 0 <= pawn_rank < 8 and self.squares[pawn_rank * 8 + f + df] == pawn:
                return True
        for steps, kinds in ((KNIGHT_STEPS, "n"), (KING_STEPS, "k")):
            for df, dr in steps:
                if 0 <= f + df < 8 and 0 <= r + dr < 8:
                    piece = self.squares[(r + dr) * 8 + f + df]
                    if piece and colour_of(piece) == by and piece.lower() == kinds:
                        return True
        for rays, kinds in ((ROOK_RAYS, "rq"), (BISHOP_RAYS, "bq")):
            for df, dr in rays:
                nf, nr = f + df, r + dr
                while 0 <= nf < 8 and 0 <= nr < 8:
                    piece = self.squares[nr * 8 + nf]
                    if piece:
                        if colour_of(piece) == by and piece.lower() in kinds:
                            return True
                        break
                    nf, nr = nf + df, nr + dr
        return False

    def king_square(self, colour):
        return self.squares.index("K" if colour == "w" else "k")

    def in_check(self, colour=None):
        colour = colour or self.turn
        return self.attacked(self.king_square(colour), "b" if colour == "w" else "w")

    def pseudo_moves(self):
        us, them = self.turn, ("b" if self.turn == "w" else "w")
        moves = []
        for square, piece in enumerate(self.squares):
            if not piece or colour_of(piece) != us:
                continue
            f, r = square % 8, square // 8
            kind = piece.lower()
            if kind == "p":
                up = 1 if us == "w" else -1
                last = 7 if us == "w" else 0
                start = 1 if us == "w" else 6

                def add(target):
                    if target // 8 == last:
                        moves.extend(square_name(square) + square_name(target) + p for p in "qrbn")
                    else:
                        moves.append(square_name(square) + square_name(target))
                ahead = square + 8 * up
                if 0 <= ahead < 64 and not self.squares[ahead]:
                    add(ahead)
                    if r == start and not self.squares[ahead + 8 * up]:
                        moves.append(square_name(square) + square_name(ahead + 8 * up))
                for df in (-1, 1):
                    if 0 <= f + df < 8 and 0 <= r + up < 8:
                        target = (r + up) * 8 + f + df
                        victim = self.squares[target]
                        if (victim and colour_of(victim) == them) or target == self.ep:
                            add(target)
                continue
            if kind in "nk":
                for df, dr in (KNIGHT_STEPS if kind == "n" else KING_STEPS):
                    if 0 <= f + df < 8 and 0 <= r + dr < 8:
                        target = (r + dr) * 8 + f + df
                        victim = self.squares[target]
                        if not victim or colour_of(victim) == them:
                            moves.append(square_name(square) + square_name(target))
            else:
                rays = {"r": ROOK_RAYS, "b": BISHOP_RAYS, "q": ROOK_RAYS + BISHOP_RAYS}[kind]
                for df, dr in rays:
                    nf, nr = f + df, r + dr
                    while 0 <= nf < 8 and 0 <= nr < 8:
                        target = nr * 8 + nf
                        victim = self.squares[target]
                        if victim and colour_of(victim) == us:
                            break
                        moves.append(square_name(square) + square_name(target))
                        if victim:
                            break
                        nf, nr = nf + df, nr + dr
        moves.extend(self.castling_moves())
        return moves

    def castling_moves(self):
        us, them = self.turn, ("b" if self.turn == "w" else "w")
        base = 0 if us == "w" else 56
        king = "K" if us == "w" else "k"
        rook = "R" if us == "w" else "r"
        moves = []
        if self.squares[base + 4] != king or self.attacked(base + 4, them):
            return moves
        for right, rook_square, between, path in (("K", 7, (5, 6), (5, 6)), ("Q", 0, (1, 2, 3), (3, 2))):
            right = right if us == "w" else right.lower()
            if right not in self.castling or self.squares[base + rook_square] != rook:
                continue
            if any(self.squares[base + s] for s in between) or any(self.attacked(base + s, them) for s in path):
                continue
            moves.append(square_name(base + 4) + square_name(base + path[-1]))
        return moves

    def legal_moves(self):
        us = self.turn
        legal = []
        for move in self.pseudo_moves():
            undo = self._apply(move)
            if not self.in_check(us):
                legal.append(move)
            self._restore(undo)
        return legal

    def _apply(self, move):
        """Plays a pseudo-legal move; returns what `_restore` needs."""
        undo = (self.squares[:], self.turn, self.castling, self.ep, self.halfmoves, self.fullmove)
        frm, to = square_of(move[:2]), square_of(move[2:4])
        piece = self.squares[frm]
        capture = self.squares[to] is not None
        if piece.lower() == "p" and to == self.ep:
            self.squares[to + (-8 if self.turn == "w" else 8)] = None
            capture = True
        if piece.lower() == "k" and abs(to - frm) == 2:
            rook_from, rook_to = (frm + 3, frm + 1) if to > frm else (frm - 4, frm - 1)
            self.squares[rook_to], self.squares[rook_from] = self.squares[rook_from], None
        self.squares[to], self.squares[frm] = piece, None
        if len(move) == 5:
            self.squares[to] = move[4].upper() if self.turn == "w" else move[4]
        self.ep = (frm + to) // 2 if piece.lower() == "p" and abs(to - frm) == 16 else None
        lost = {0: "Q", 7: "K", 4: "KQ", 56: "q", 63: "k", 60: "kq"}
        for square in (frm, to):
            for right in lost.get(square, ""):
                self.castling = self.castling.replace(right, "")
        self.halfmoves = 0 if capture or piece.lower() == "p" else self.halfmoves + 1
        if self.turn == "b":
            self.fullmove += 1
        self.turn = "b" if self.turn == "w" else "w"
        return undo

    def _restore(self, undo):
        self.squares, self.turn, self.castling, self.ep, self.halfmoves, self.fullmove = undo
        self.squares = self.squares[:]

    def push(self, move):
        """Plays a move given in coordinate notation; ValueError when it is not legal."""
        if move not in self.legal_moves():
            raise ValueError(f"illegal move {move!r}")
        self._apply(move)
        self.history.append(self.repetition_key())

    # --- draws and the end of the game --------------------------------------------------

    def repetition_key(self):
        """The position as the repetition rule sees it: an en passant square only counts
        when the capture is legal."""
        ep = None
        if self.ep is not None:
            pawn_moves = [m for m in self.pseudo_moves() if square_of(m[2:4]) == self.ep
                          and self.squares[square_of(m[:2])].lower() == "p"]
            for move in pawn_moves:
                undo = self._apply(move)
                legal = not self.in_check("b" if self.turn == "w" else "w")
                self._restore(undo)
                if legal:
                    ep = self.ep
                    break
        return (tuple(self.squares), self.turn, "".join(sorted(self.castling)), ep)

    def insufficient_material(self):
        """No sequence of legal moves can mate: bare kings, a single minor figure, or only
        bishops all on squares of one colour."""
        pieces = [(s, p) for s, p in enumerate(self.squares) if p and p.lower() != "k"]
        if any(p.lower() in "pqr" for _, p in pieces):
            return False
        if len(pieces) <= 1:
            return True
        if all(p.lower() == "b" for _, p in pieces):
            return len({(s % 8 + s // 8) % 2 for s, _ in pieces}) == 1
        return False

    def outcome(self):
        """None while the game goes on, else (result, reason) by the rules."""
        if not self.legal_moves():
            if self.in_check():
                return ("0-1" if self.turn == "w" else "1-0"), "checkmate"
            return "1/2-1/2", "stalemate"
        if self.insufficient_material():
            return "1/2-1/2", "insufficient material"
        if self.halfmoves >= 100:
            return "1/2-1/2", "fifty moves"
        if self.history.count(self.history[-1]) >= 3:
            return "1/2-1/2", "threefold repetition"
        return None

    # --- notation -----------------------------------------------------------------------

    def fen(self):
        rows = []
        for rank in range(7, -1, -1):
            row, empty = "", 0
            for file in range(8):
                piece = self.squares[rank * 8 + file]
                if piece:
                    row += (str(empty) if empty else "") + piece
                    empty = 0
                else:
                    empty += 1
            rows.append(row + (str(empty) if empty else ""))
        ep = square_name(self.ep) if self.ep is not None else "-"
        return f"{'/'.join(rows)} {self.turn} {self.castling or '-'} {ep} {self.halfmoves} {self.fullmove}"

    def san(self, move):
        """The standard algebraic notation of a legal move, with + or #."""
        frm, to = square_of(move[:2]), square_of(move[2:4])
        piece = self.squares[frm]
        kind = piece.upper()
        if kind == "K" and abs(to - frm) == 2:
            text = "O-O" if to > frm else "O-O-O"
        else:
            capture = self.squares[to] is not None or (kind == "P" and to == self.ep)
            if kind == "P":
                text = (move[0] + "x" if capture else "") + move[2:4]
                if len(move) == 5:
                    text += "=" + move[4].upper()
            else:
                rivals = [m for m in self.legal_moves() if m[2:4] == move[2:4] and m != move
                          and self.squares[square_of(m[:2])] == piece]
                hint = ""
                if rivals:
                    if all(m[0] != move[0] for m in rivals):
                        hint = move[0]
                    elif all(m[1] != move[1] for m in rivals):
                        hint = move[1]
                    else:
                        hint = move[:2]
                text = kind + hint + ("x" if capture else "") + move[2:4]
        undo = self._apply(move)
        if self.in_check():
            text += "#" if not self.legal_moves() else "+"
        self._restore(undo)
        return text

    def parse_move(self, text):
        """A legal move from coordinate notation or SAN (as some xboard engines send), else
        None."""
        text = text.strip()
        legal = self.legal_moves()
        lowered = text.lower()
        if lowered in legal:
            return lowered
        if len(lowered) == 5 and lowered[:4] + lowered[4].lower() in legal:
            return lowered
        wanted = text.rstrip("+#!?").replace("0-0-0", "O-O-O").replace("0-0", "O-O")
        targets = [wanted[i:i + 2] for i in range(len(wanted) - 1) if wanted[i] in "abcdefgh" and wanted[i + 1] in "12345678"]
        if targets and not wanted.startswith("O-O"):
            legal = [move for move in legal if move[2:4] == targets[-1]]
        for move in legal:
            if self.san(move).rstrip("+#") == wanted:
                return move
        return None


def perft(board, depth):
    if depth == 0:
        return 1
    total = 0
    for move in board.legal_moves():
        undo = board._apply(move)
        total += perft(board, depth - 1)
        board._restore(undo)
    return total


def self_check():
    """Move counts of well-known positions and the draw rules on small cases."""
    cases = [
        (START_FEN, 3, 8902),
        ("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 2, 2039),
        ("8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4, 43238),
        ("r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 3, 9467),
        ("rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 3, 62379),
    ]
    for fen, depth, expected in cases:
        counted = perft(Board(fen), depth)
        assert counted == expected, f"perft {depth} of {fen}: {counted}, not {expected}"
    assert Board("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1").outcome() == ("1/2-1/2", "stalemate")
    assert Board("7k/6Q1/6K1/8/8/8/8/8 b - - 0 1").outcome() == ("1-0", "checkmate")
    assert Board("8/8/4k3/8/2B5/8/4K3/8 w - - 0 1").outcome() == ("1/2-1/2", "insufficient material")
    assert Board("8/8/4k3/8/2B5/8/4K3/7b w - - 0 1").outcome() is not None  # bishops on one colour
    assert Board("8/8/4k3/8/2B5/8/4K3/6b1 w - - 0 1").outcome() is None
    assert Board("8/8/4k3/8/2N5/8/4K3/7n w - - 0 1").outcome() is None
    assert Board("8/8/4k3/8/8/8/4K2R/8 w - - 100 80").outcome() == ("1/2-1/2", "fifty moves")
    board = Board()
    for move in ["g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1"]:
        board.push(move)
        assert board.outcome() is None, move
    board.push("f6g8")
    assert board.outcome() == ("1/2-1/2", "threefold repetition")
    # A double step that no pawn can take back does not make the position a new one.
    board = Board("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1")
    assert board.repetition_key()[3] is None
    board.push("e2e4")
    assert board.repetition_key()[3] is None
    board = Board("4k3/8/8/8/3p4/8/4P3/4K3 w - - 0 1")
    board.push("e2e4")
    assert board.repetition_key()[3] == square_of("e3")
    assert Board().san("g1f3") == "Nf3"
    assert Board("4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1").san("a1d1") == "Rd1"
    assert Board("4k3/8/8/8/8/8/8/R4RK1 w - - 0 1").san("a1d1") == "Rad1"
    assert Board("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1").san("a1a8") == "Ra8#"
    assert Board("r3k3/8/8/8/8/8/8/4K3 b q - 0 1").parse_move("O-O-O") == "e8c8"
    print("chess_rules self-check passed")


if __name__ == "__main__":
    self_check()
